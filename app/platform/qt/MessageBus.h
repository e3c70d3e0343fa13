#pragma once
// Registered window messages that any process may send: each name becomes a
// D-Bus method call on the session bus, delivered to the dialog as its message.
// For example, with gdbus: call --session --dest org.quorvanex.ZRNcom --object-path /ZRNcom
// --method org.quorvanex.ZRNcom.WindowMessages.SendMessage ZRNCOMDLGSETINTERVALS
#include <QObject>
#include <QString>
#include <map>
#include <string>

class CDialog;

inline constexpr char kBusService[] = "org.quorvanex.ZRNcom";
inline constexpr char kBusPath[] = "/ZRNcom";

class WindowMessageBus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorvanex.ZRNcom.WindowMessages")

public:
    explicit WindowMessageBus(CDialog& dialog);
    ~WindowMessageBus() override;

    // The name's message goes to the dialog's event table as the given window message.
    void Register(const std::string& name, int message);
    // True when the session bus took the service; without a bus the program runs on.
    bool Listening() const { return listening; }

public slots:
    // The message's result, or -1 for a name that was never registered.
    Q_SCRIPTABLE int SendMessage(const QString& name);

private:
    CDialog& dialog;
    std::map<std::string, int> messages;
    bool listening = false;
};
