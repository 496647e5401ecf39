#pragma once

#include <QByteArray>

// One SIM location's content: a number and a name, both empty for a location that is clear.
struct SimLocation {
    QByteArray number;
    QByteArray name;
    friend bool operator==(const SimLocation&, const SimLocation&) = default;
};
