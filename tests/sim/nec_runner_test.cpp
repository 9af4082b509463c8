#include "sim/nec_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "sim/sim_errors.h"

namespace hb9cv {
namespace {

// A stand-in for nec2c: a shell script called as nec2c is, "-i deck -o out".
QString FakeNec(const QTemporaryDir& dir, const char* name, const char* body) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("#!/bin/sh\nout=\"$4\"\n") + body + "\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

TEST(NecRunnerTest, FaultsOfTheProgram) {
  QTemporaryDir bin;
  QTemporaryDir temp;  // where the runs put their folders; empty again afterwards
  qputenv("TMPDIR", temp.path().toLocal8Bit());
  // clang-format off
  const std::pair<QString, std::string> rows[] = {
      {bin.filePath(QStringLiteral("nowhere/nec2c")),
       "The NEC-2 engine nec2c was not found: install the Debian package nec2c"},
      {FakeNec(bin, "card", "printf '  GEOMETRY DATA CARD ERROR\\n XX 0 0\\n' > \"$out\"; exit 255"),
       "nec2c failed: GEOMETRY DATA CARD ERROR"},
      {FakeNec(bin, "unreadable", "echo 'nec2c: deck unreadable' >&2; exit 253"),
       "nec2c failed: nec2c: deck unreadable"},
      {FakeNec(bin, "silent", "exit 3"), "nec2c failed: exit status 3"},
      {FakeNec(bin, "hang", "exec sleep 30"), "nec2c did not finish within 0.3 s and was stopped"},
      {FakeNec(bin, "nothing", "exit 0"), "nec2c wrote no output"},
  };
  // clang-format on
  for (const auto& [program, message] : rows) {
    NecProcess nec(program, 300);
    try {
      nec.Run("EN\n");
      ADD_FAILURE() << message;
    } catch (const ESimulationError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  // Garbage passes the runner; the simulation refuses it (simulation_test).
  NecProcess garbage(FakeNec(bin, "garbage", "echo 'hello' > \"$out\""));
  EXPECT_EQ(garbage.Run("EN\n"), "hello\n");
  EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
  qunsetenv("TMPDIR");
}

TEST(NecRunnerTest, ANewRequestReplacesTheRunningOne) {
  SimulationRunner runner;
  QSignalSpy finished(&runner, &SimulationRunner::Finished);
  // The first one finishes while the window is busy: its result, already on its way, is
  // dropped. The second is still running when the third replaces it.
  runner.Start({ComputeDimensions(50), std::nullopt, std::nullopt});
  QThread::msleep(1500);
  runner.Start({ComputeDimensions(432), std::nullopt, std::nullopt});
  runner.Start({ComputeDimensions(145), std::nullopt, std::nullopt});
  EXPECT_TRUE(runner.Running());
  ASSERT_TRUE(finished.wait(10000));
  QTest::qWait(300);  // nothing from the first one comes late
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished[0][0].value<SimulationResults>().frequencyMhz, 145);
  EXPECT_FALSE(runner.Running());
}

}  // namespace
}  // namespace hb9cv
