#include "ui/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>

#include "calc/dimensions.h"

namespace hb9cv {
namespace {

bool IsCLocale(const QString& name) {
  return name.isEmpty() || name == u"C" || name == u"POSIX" || name.startsWith(u"C.");
}

QString LanguageOf(const QString& name) {
  const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
  return name.left(end).toLower();
}

// Replaces the translator in `slot` with one loaded by `load`, or with none.
template <typename Load>
bool Replace(QPointer<QTranslator>& slot, Load load) {
  if (slot != nullptr) {
    QCoreApplication::removeTranslator(slot);
    delete slot;
  }
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  if (!load(*translator)) return false;
  slot = translator.release();
  QCoreApplication::installTranslator(slot);
  return true;
}

// Installed beside the program's data; in a build tree, where the build put them.
bool LoadProgramTexts(QTranslator& translator, const QString& language) {
  const QString file = QStringLiteral("hb9cv_") + language;
  const QString dirs[] = {QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral(HB9CV_TRANSLATIONS_RELATIVE_DIR)),
                          QStringLiteral(HB9CV_TRANSLATIONS_BUILD_DIR)};
  for (const QString& dir : dirs) {
    if (translator.load(file, dir)) return true;
  }
  return false;
}

}  // namespace

QStringList UiLanguages() {
  QString messages;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    messages = qEnvironmentVariable(variable);
    if (!messages.isEmpty()) break;
  }
  if (IsCLocale(messages)) return {};
  const QString preferred = qEnvironmentVariable("LANGUAGE");
  if (preferred.isEmpty()) return {messages};
  return preferred.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString ChooseLanguage(const QStringList& languages) {
  for (const QString& name : languages) {
    const QString language = LanguageOf(name);
    if (language == u"cs" || language == u"en" || language == u"de") return language;
  }
  return {};
}

bool InstallQtTranslation() {
  static QPointer<QTranslator> program;
  static QPointer<QTranslator> qt;
  const QStringList languages = UiLanguages();
  const QString chosen = ChooseLanguage(languages);
  Replace(program, [&](QTranslator& t) {
    return !chosen.isEmpty() && chosen != u"cs" && LoadProgramTexts(t, chosen);
  });
  if (languages.isEmpty()) return Replace(qt, [](QTranslator&) { return false; });
  const QLocale locale(chosen.isEmpty() ? languages.front() : chosen);
  // Only qtbase: the widgets and dialogs the program uses take their texts from it alone.
  return Replace(qt, [&](QTranslator& t) {
    return t.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  });
}

QString TranslatedMessage(const Exception& error) {
  if (error.Pattern() == nullptr) return QString::fromStdString(error.Message());
  const QString pattern = QCoreApplication::translate(kErrorContext, error.Pattern());
  return QString::fromStdString(FillPattern(pattern.toStdString(), error.Args()));
}

std::string DiameterWords() {
  return QCoreApplication::translate("Dimensions", kDiameterWords).toStdString();
}

}  // namespace hb9cv
