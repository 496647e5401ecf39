#pragma once

#include <QLabel>

// A picture of the window, drawn from an SVG of the program's resources, at its natural size unless
// a size is given.
class Picture : public QLabel {
    Q_OBJECT
public:
    Picture(const QString& name, QWidget* parent, QSize size = {});
};
