#include "platform/qt/MessageBus.h"

#include "platform/DebugOutput.h"
#include "platform/Dialog.h"

#include <QDBusConnection>

WindowMessageBus::WindowMessageBus(CDialog& dialog) : dialog(dialog) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OutputDebugString("ZRNcom/WindowMessageBus; no session bus\n");
        return;
    }
    // A second instance finds the name taken and simply does not listen.
    listening = bus.registerService(QString::fromLatin1(kBusService)) &&
                bus.registerObject(QString::fromLatin1(kBusPath), this,
                                   QDBusConnection::ExportScriptableSlots);
    if (!listening)
        OutputDebugString("ZRNcom/WindowMessageBus; service not registered\n");
}

WindowMessageBus::~WindowMessageBus() {
    if (!listening)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kBusPath));
    bus.unregisterService(QString::fromLatin1(kBusService));
}

void WindowMessageBus::Register(const std::string& name, int message) {
    messages[name] = message;
}

int WindowMessageBus::SendMessage(const QString& name) {
    const auto found = messages.find(name.toStdString());
    if (found == messages.end())
        return -1;
    return static_cast<int>(dialog.SendMessage(kWindow, found->second));
}
