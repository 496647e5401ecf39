#pragma once

#include <QSlider>

// A vertical volume track bar whose position 1, the loudest, is at the top: Up and Page Up make it
// louder, and its groove fills from the bottom up to the handle, so a louder setting shows a longer bar.
class VolumeSlider : public QSlider {
public:
    explicit VolumeSlider(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
