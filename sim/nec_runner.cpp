#include "sim/nec_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <charconv>

#include "sim/nec_output.h"
#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

QString FindProgram(const QString& program) {
  if (program.contains(QLatin1Char('/'))) {
    return QFileInfo(program).isExecutable() ? program : QString();
  }
  return QStandardPaths::findExecutable(program);
}

// An error in the user's language, as the window shows it (the translators are read-only here
// and safe on any thread).
QString Translated(const Exception& error) {
  if (error.Pattern() == nullptr) return QString::fromStdString(error.Message());
  const QString pattern = QCoreApplication::translate(kErrorContext, error.Pattern());
  return QString::fromStdString(FillPattern(pattern.toStdString(), error.Args()));
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

NecProcess::NecProcess(QString program, int timeoutMs,
                       std::shared_ptr<const std::atomic<bool>> cancelled)
    : program_(std::move(program)), timeoutMs_(timeoutMs), cancelled_(std::move(cancelled)) {}

std::string NecProcess::Run(const std::string& deck) {
  const QString path = FindProgram(program_);
  if (path.isEmpty()) {
    throw ESimulationError(
        HB9CV_TRANSLATE_NOOP(
            "Errors", "The NEC-2 engine nec2c was not found: install the Debian package nec2c"),
        {});
  }
  QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/hb9cv-nec-XXXXXX"));
  if (!dir.isValid()) {
    throw ESimulationError(HB9CV_TRANSLATE_NOOP("Errors", "No temporary folder for nec2c: %1"),
                           {dir.errorString().toStdString()});
  }
  const QString input = dir.filePath(QStringLiteral("model.nec"));
  const QString output = dir.filePath(QStringLiteral("model.out"));
  {
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(deck.data(), static_cast<qint64>(deck.size())) !=
            static_cast<qint64>(deck.size())) {
      throw ESimulationError(
          HB9CV_TRANSLATE_NOOP("Errors", "The NEC-2 deck could not be written: %1"),
          {file.errorString().toStdString()});
    }
  }
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(path, {QStringLiteral("-i"), input, QStringLiteral("-o"), output});
  if (!process.waitForStarted()) {
    throw ESimulationError(HB9CV_TRANSLATE_NOOP("Errors", "nec2c could not be started: %1"),
                           {process.errorString().toStdString()});
  }
  QElapsedTimer clock;
  clock.start();
  while (!process.waitForFinished(20)) {
    const bool cancelled = cancelled_ && cancelled_->load();
    if (cancelled || clock.elapsed() > timeoutMs_) {
      process.kill();
      process.waitForFinished();
      if (cancelled) throw ESimulationCancelled("Replaced by a newer simulation");
      char seconds[32];
      const auto end = std::to_chars(seconds, seconds + sizeof seconds, timeoutMs_ / 1000.0);
      throw ESimulationError(
          HB9CV_TRANSLATE_NOOP("Errors", "nec2c did not finish within %1 s and was stopped"),
          {std::string(seconds, end.ptr)});
    }
  }
  const QByteArray text = ReadAll(output);
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    // nec2c puts the reason for a bad card at the end of its output, others on stderr.
    std::string reason(FailureReason(std::string_view(text.constData(), text.size())));
    if (reason.empty()) reason = process.readAllStandardError().trimmed().toStdString();
    if (reason.empty()) {
      reason = QCoreApplication::translate("Errors", "exit status %1")
                   .arg(process.exitCode())
                   .toStdString();
    }
    throw ESimulationError(HB9CV_TRANSLATE_NOOP("Errors", "nec2c failed: %1"), {reason});
  }
  if (text.isEmpty()) {
    throw ESimulationError(HB9CV_TRANSLATE_NOOP("Errors", "nec2c wrote no output"), {});
  }
  return text.toStdString();
}

SimulationRunner::SimulationRunner(QObject* parent, QString program, int timeoutMs)
    : QObject(parent), program_(std::move(program)), timeoutMs_(timeoutMs) {}

SimulationRunner::~SimulationRunner() {
  Cancel();
  for (QThread* thread : threads_) {
    thread->wait();
    delete thread;
  }
}

void SimulationRunner::Cancel() {
  if (cancelled_) cancelled_->store(true);
  cancelled_.reset();
  ++job_;
  running_ = false;
}

void SimulationRunner::Start(const SimulationRequest& request) {
  Cancel();
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  running_ = true;
  const unsigned job = job_;
  auto engine = std::make_shared<NecProcess>(program_, timeoutMs_, cancelled_);
  QThread* thread = QThread::create([this, job, request, engine] {
    try {
      SimulationResults results = Simulate(request, *engine);
      Deliver(job, [this, results] { emit Finished(results); });
    } catch (const ESimulationCancelled&) {
    } catch (const Exception& e) {
      const QString message = Translated(e);
      Deliver(job, [this, message] { emit Failed(message); });
    } catch (const std::exception& e) {
      const QString message = QString::fromUtf8(e.what());
      Deliver(job, [this, message] { emit Failed(message); });
    }
  });
  threads_.push_back(thread);
  connect(thread, &QThread::finished, this, [this, thread] {
    std::erase(threads_, thread);
    thread->deleteLater();
  });
  thread->start();
}

void SimulationRunner::Deliver(unsigned job, const std::function<void()>& emitIt) {
  // Runs on the worker; the signal goes out on the runner's thread, for the latest job only.
  QMetaObject::invokeMethod(
      this,
      [this, job, emitIt] {
        if (job != job_) return;
        running_ = false;
        emitIt();
      },
      Qt::QueuedConnection);
}

}  // namespace hb9cv
