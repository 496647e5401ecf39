#include "widgets/VolumeSlider.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

VolumeSlider::VolumeSlider(QWidget* parent) : QSlider(Qt::Vertical, parent) {
    setInvertedAppearance(true);
    setInvertedControls(true);
}

void VolumeSlider::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle | QStyle::SC_SliderTickmarks;
    if (isSliderDown()) {
        option.activeSubControls = QStyle::SC_SliderHandle;
        option.state |= QStyle::State_Sunken;
    }
    // The handle in the same place seen from the other end: styles fill the groove from the minimum's
    // end, which is then the bottom, the quiet end.
    option.upsideDown = !option.upsideDown;
    option.sliderPosition = minimum() + maximum() - option.sliderPosition;
    option.sliderValue = minimum() + maximum() - option.sliderValue;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}
