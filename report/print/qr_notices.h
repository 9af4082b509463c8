#pragma once
// Notices between report printers, the report and the preview and progress windows. Each is
// a Qt event with the message number of its kind; posted ones queue behind earlier events,
// sent ones are handled before the sender goes on.
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace hb9cv {

class TQRPrinter;

enum class QRNotice {
  Progress = 1024,      // first: percent done; posted to the client window
  PageFinished = 1025,  // first: pages available; posted to the client window
  PrintRequest = 1026,  // posted to the parent report
  CloseRequest = 1028,  // second: the report printer; sent to the parent report
};

class QRNoticeEvent : public QEvent {
 public:
  QRNoticeEvent(QRNotice notice, int first, TQRPrinter* second = nullptr)
      : QEvent(TypeOf(notice)), notice_(notice), first_(first), second_(second) {}

  static QEvent::Type TypeOf(QRNotice notice) {
    return static_cast<QEvent::Type>(QEvent::User + static_cast<int>(notice));
  }
  // The notice an event carries, or nullptr when it is no notice.
  static const QRNoticeEvent* From(const QEvent* event) {
    for (QRNotice n : {QRNotice::Progress, QRNotice::PageFinished, QRNotice::PrintRequest,
                       QRNotice::CloseRequest}) {
      if (event->type() == TypeOf(n)) return static_cast<const QRNoticeEvent*>(event);
    }
    return nullptr;
  }

  QRNotice Notice() const { return notice_; }
  int First() const { return first_; }
  TQRPrinter* Printer() const { return second_; }

 private:
  QRNotice notice_;
  int first_;
  TQRPrinter* second_;
};

// Queues a notice; it is dropped when `to` is gone before its turn.
inline void PostNotice(QObject* to, QRNotice notice, int first) {
  if (to != nullptr) QCoreApplication::postEvent(to, new QRNoticeEvent(notice, first));
}

// Delivers a notice at once.
inline void SendNotice(QObject* to, QRNotice notice, TQRPrinter* printer) {
  if (to == nullptr) return;
  QRNoticeEvent event(notice, 0, printer);
  QCoreApplication::sendEvent(to, &event);
}

}  // namespace hb9cv
