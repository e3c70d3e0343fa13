#include "platform/Shell.h"

#include "platform/qt/QtText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace {

constexpr int SE_ERR_NOASSOC = 31;
constexpr int SHELL_STARTED = 42;
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int WINEXEC_STARTED = 33;

} // namespace

int ShellExecuteOpen(std::string_view address, int, std::string_view fallback) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return SE_ERR_NOASSOC;
    // A detached shell waits for xdg-open's verdict, so neither the GUI thread
    // nor the program's exit waits for the browser. Address and fallback are
    // its arguments, never part of its script.
    QStringList arguments{
        QStringLiteral("-c"),
        QStringLiteral("xdg-open \"$1\" || { shift; [ $# -eq 0 ] || exec \"$@\"; }"),
        QStringLiteral("sh"), ToQString(address)};
    arguments += QProcess::splitCommand(ToQString(fallback));
    return QProcess::startDetached(QStringLiteral("/bin/sh"), arguments) ? SHELL_STARTED
                                                                         : SE_ERR_NOASSOC;
}

int WinExec(std::string_view commandLine, int) {
    QStringList words = QProcess::splitCommand(ToQString(commandLine));
    if (words.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words) ? WINEXEC_STARTED : ERROR_FILE_NOT_FOUND;
}
