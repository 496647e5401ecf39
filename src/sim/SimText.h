#pragma once

#include <QByteArray>

// A command argument without the double quotes the module also accepts around it.
inline QByteArray unquoted(const QByteArray& field) {
    if (field.size() >= 2 && field.startsWith('"') && field.endsWith('"'))
        return field.mid(1, field.size() - 2);
    return field;
}
