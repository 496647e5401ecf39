#pragma once

#include <QByteArray>
#include <QObject>
#include <array>
#include <optional>

class QWidget;
class TForm1;

// Which parameter strings the user changed through their settings controls since the strings took their
// values (read from the unit, loaded from a file, or built for programming). Only a person's actions
// count: a click, a key, a slider moved, an item chosen; the decoder setting the controls does not.
class ChangedSettings : public QObject {
public:
    // The four strings in the order of their entries: PARORU, PARRL1, PARRL2, PARKEY.
    using Strings = std::array<QByteArray, 4>;

    explicit ChangedSettings(TForm1& form);

    // The strings as a file gets them: encoded from the controls, as programming does, where the user
    // changed them; otherwise exactly as they stand, also when odd or malformed.
    Strings forSaving() const;
    // The strings stand for the controls again, as after a load.
    void forget();

private:
    void watch(QWidget* control, int string);
    void touch(int string);
    Strings held() const;

    TForm1& m_form;
    // Each string's value when the user first changed one of its controls; nothing while untouched.
    std::array<std::optional<QByteArray>, 4> m_touchedAt;
};
