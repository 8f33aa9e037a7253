// Help of the program: the user manual shipped with the program and the desktop's system-information tool.
// Both start something outside the program; a missing file or tool gives a message, never a crash.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

namespace velaron::ui {

// The user manual's file name.
inline constexpr const char* kManualFile = "Instrukziy_polzovately.html";
// The message when no system-information tool can be started.
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The manual of the program in `folder`: beside it in the build, in share/doc/velaron/ once installed.
QString ManualPath(const QString& folder);

// Opens the manual (ManualPath of the program's folder) with the desktop's default application. Returns whether it
// was handed over; a missing file or a refusal shows a message.
bool OpenManual(QWidget* parent);
bool OpenManual(QWidget* parent, const QString& folder);

// A program that can show the HTML manual: the desktop's default for text/html, else a browser found in
// `paths` (the PATH when empty). An empty text when there is none: xdg-open would then fail quietly, so
// the manual is not handed over and a message names the file instead.
QString FindManualViewer(const QStringList& paths = {});

// System-information tools looked for on the PATH, in order of preference.
QStringList SysInfoTools();
// The first of `tools` found as an executable in `paths` (the PATH when empty), or an empty text.
QString FindSysInfoTool(const QStringList& tools = SysInfoTools(), const QStringList& paths = {});
// Starts the first tool found, detached from the program; otherwise shows the unavailable message.
bool StartSysInfo(QWidget* parent, const QStringList& tools = SysInfoTools(), const QStringList& paths = {});

// Test hooks: when set, these replace handing a URL to the desktop and starting a program.
using UrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);
using ProgramStarter = std::function<bool(const QString& program)>;
void SetProgramStarter(ProgramStarter starter);

}  // namespace velaron::ui
