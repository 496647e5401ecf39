#pragma once

#include <QProgressBar>
#include <algorithm>

// Sets a bar's position, clamped into its range (QProgressBar ignores a value outside it).
inline void setPosition(QProgressBar* bar, int value) {
    bar->setValue(std::clamp(value, bar->minimum(), std::max(bar->minimum(), bar->maximum())));
}
