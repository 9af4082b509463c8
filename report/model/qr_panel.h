#pragma once
// What bands and the report have in common: they hold elements and pass their zoom on.
#include <QString>
#include <memory>
#include <vector>

#include "report/model/qr_printable.h"

namespace hb9cv {

class TQRBasePanel {
 public:
  explicit TQRBasePanel(QString name) : name_(std::move(name)) {}
  virtual ~TQRBasePanel() = default;
  TQRBasePanel(const TQRBasePanel&) = delete;
  TQRBasePanel& operator=(const TQRBasePanel&) = delete;

  const QString& Name() const { return name_; }

  // Places a new element on the panel; it is drawn after (over) the elements placed before.
  template <class T>
  T* Add(QString name) {
    auto element = std::make_unique<T>(std::move(name));
    T* raw = element.get();
    Insert(std::move(element));
    return raw;
  }
  void Insert(std::unique_ptr<TQRPrintable> element);
  const std::vector<std::unique_ptr<TQRPrintable>>& Elements() const { return elements_; }
  TQRPrintable* FindElement(const QString& name) const;

  int Zoom() const { return zoom_; }
  // Passes the zoom to every element (and, for the report, to every band).
  virtual void SetZoom(int zoom);

  // Pixel size of the panel at the screen's resolution.
  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }

  virtual TCustomReport* ParentReport() const = 0;

 protected:
  void SetPixelSize(int width, int height) {
    pixelWidth_ = width;
    pixelHeight_ = height;
  }

 private:
  QString name_;
  std::vector<std::unique_ptr<TQRPrintable>> elements_;
  int zoom_ = 100;
  int pixelWidth_ = 0;
  int pixelHeight_ = 0;
};

}  // namespace hb9cv
