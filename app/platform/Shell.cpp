#include "platform/Shell.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

constexpr int SE_ERR_NOASSOC = 31;
constexpr int SHELL_STARTED = 42;
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int WINEXEC_STARTED = 33;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

int ShellExecuteOpen(std::string_view address, int) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {Q(address)}) ? SHELL_STARTED
                                                                             : SE_ERR_NOASSOC;
}

int WinExec(std::string_view commandLine, int) {
    QStringList words = QProcess::splitCommand(Q(commandLine));
    if (words.isEmpty())
        return ERROR_FILE_NOT_FOUND;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words) ? WINEXEC_STARTED : ERROR_FILE_NOT_FOUND;
}
