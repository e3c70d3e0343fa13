#pragma once
// Dialog templates as tables in dialog units, and the exchange of values
// between a dialog's members and its controls: the same for every backend.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class ControlKind {
    Static,  // text label
    Picture, // static bitmap (resource)
    Icon,    // static icon (resource), 32 x 32
    GroupBox,
    Button,
    CheckBox,
    RadioButton, // auto radio button; WS_GROUP starts a group
    Edit,        // ES_MULTILINE for a multi-line box
    DateTime,    // date-time picker
    ListView,
    ListBox,
    Tab
};

// Template style: the control starts hidden (Windows templates say WS_VISIBLE instead).
inline constexpr unsigned NOT_VISIBLE = 0x80000000;

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view caption;
    int x, y, cx, cy; // dialog units
    unsigned style = 0;
    int resource = 0; // bitmap or icon of a picture control
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    int cx, cy; // dialog units
    std::string_view font;
    int pointSize;
    std::span<const ControlTemplate> controls;
};

// Numbers shown and sent keep the point in every locale; the Qt backend needs
// this right after its application object is built (Qt takes the C library's
// locale from the environment then).
void KeepNumbersLocaleFree();

class CDialog;

// Moves values between a dialog's members and its controls, both ways.
class DataExchange {
public:
    DataExchange(CDialog& dialog, bool saveAndValidate) : dialog(dialog), saving(saveAndValidate) {}
    bool Saving() const { return saving; }
    bool Failed() const { return failed; }

    void Text(int id, std::string& value);
    void DateTime(int id, int64_t& seconds); // seconds since 1970 as local time
    void OleTime(int id, double& days);      // days since 1899-12-30
    void Check(int id, int& state);
    void Int(int id, int& value, int minimum, int maximum);
    // Refuses what the control holds (saving only): the message is shown and the
    // focus goes back to the control; nothing after it is exchanged.
    void Refuse(int id, const std::string& message);

private:
    template <class Value, class Read, class Show>
    void Exchange(Value& value, Read read, Show show);
    void Fail(int id, const std::string& message);

    CDialog& dialog;
    bool saving;
    bool failed = false;
};
