#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "app/system_info.h"

using velaron::ui::SystemInfo;

namespace {

QString ProcText(const char* path) {
  QFile f(QString::fromLatin1(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromLocal8Bit(f.readAll()).trimmed();
}

TEST(SystemInfo, KernelAndHostAgreeWithTheKernelsOwnFiles) {
  const SystemInfo info;
  // /proc is read here independently of the class (which asks uname and Qt).
  const QString release = ProcText("/proc/sys/kernel/osrelease");
  if (!release.isEmpty()) {
    EXPECT_EQ(info.KernelVersion(), release);
    const QStringList parts = release.section('-', 0, 0).split('.');
    ASSERT_GE(parts.size(), 2);
    EXPECT_EQ(info.OSMajorVersion(), parts[0].toInt());
    EXPECT_EQ(info.OSMinorVersion(), parts[1].toInt());
    EXPECT_TRUE(info.OSVersion().contains(release));
  }
  const QString host = ProcText("/proc/sys/kernel/hostname");
  if (!host.isEmpty()) {
    EXPECT_EQ(info.ComputerName(), host);
  }
  EXPECT_EQ(info.KernelType(), "linux");
}

// Nothing in the class can change the system: its public face is const getters only.
TEST(SystemInfo, ProcessorsPageSizeUserAndFolders) {
  const SystemInfo info;
  // The kernel lists the online processors as ranges, "0-7" or "0,2-3".
  const QString online = ProcText("/sys/devices/system/cpu/online");
  if (!online.isEmpty()) {
    long count = 0;
    for (const QString& range : online.split(',')) {
      const QStringList ends = range.split('-');
      count += ends.size() == 2 ? ends[1].toLong() - ends[0].toLong() + 1 : 1;
    }
    EXPECT_EQ(info.NumberOfProcessors(), count);
  }
  EXPECT_GE(info.PageSize(), 4096);
  EXPECT_EQ(info.PageSize() & (info.PageSize() - 1), 0) << "a page size is a power of two";
  EXPECT_GT(info.PhysicalMemory(), 0);
  QProcess id;
  id.start("id", {"-un"});
  if (id.waitForFinished(5000) && id.exitCode() == 0) {
    EXPECT_EQ(info.UserName(), QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed());
  }
  EXPECT_TRUE(QDir(info.TempPath()).exists());
  EXPECT_EQ(info.HomeDirectory(), QDir::homePath());
  EXPECT_FALSE(info.ProcessorArchitecture().isEmpty());
  EXPECT_FALSE(info.OSVersion().isEmpty());
  EXPECT_EQ(info.SpecialFolderLocation(QStandardPaths::HomeLocation), QDir::homePath());
}

}  // namespace
