#include "ui/startup/system_info.h"

#include <QDir>
#include <QRegularExpression>
#include <QSysInfo>
#include <clocale>
#include <cstdlib>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace velaron::ui {

SystemInfo::SystemInfo() {
  productType_ = QSysInfo::productType();
  productVersion_ = QSysInfo::productVersion();
  prettyName_ = QSysInfo::prettyProductName();
  kernelType_ = QSysInfo::kernelType();
  kernelRelease_ = QSysInfo::kernelVersion();
  cpuArchitecture_ = QSysInfo::currentCpuArchitecture();
  hostName_ = QSysInfo::machineHostName();

  utsname names{};
  if (::uname(&names) == 0) {
    kernelBuild_ = QString::fromLocal8Bit(names.version);
    machine_ = QString::fromLocal8Bit(names.machine);
    if (kernelRelease_.isEmpty()) kernelRelease_ = QString::fromLocal8Bit(names.release);
  }
  // "6.1.0-18-amd64": the leading three numbers; missing ones stay 0.
  const auto match = QRegularExpression(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?")).match(kernelRelease_);
  if (match.hasMatch()) {
    major_ = match.captured(1).toInt();
    minor_ = match.captured(2).toInt();
    patch_ = match.captured(3).toInt();
  }

  processors_ = std::max(0L, ::sysconf(_SC_NPROCESSORS_ONLN));
  pageSize_ = std::max(0L, ::sysconf(_SC_PAGESIZE));
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  if (pages > 0 && pageSize_ > 0) physicalMemory_ = static_cast<long long>(pages) * pageSize_;

  if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_name)
    userName_ = QString::fromLocal8Bit(user->pw_name);
  multiByte_ = MB_CUR_MAX >= 2;
}

QString SystemInfo::OSVersion() const {
  return prettyName_ + QStringLiteral(" (") + kernelType_ + QLatin1Char(' ') + kernelRelease_ + QLatin1Char(')');
}

QString SystemInfo::TempPath() const { return QDir::tempPath(); }

QString SystemInfo::HomeDirectory() const { return QDir::homePath(); }

QString SystemInfo::SpecialFolderLocation(QStandardPaths::StandardLocation location) const {
  return QStandardPaths::writableLocation(location);
}

}  // namespace velaron::ui
