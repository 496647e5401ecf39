#pragma once

#include <QPixmap>
#include <QWidget>

// A picture of the window, drawn from an SVG of the program's resources, at its natural size unless
// a size is given. It is drawn the first time it shows: a batch run never draws the window.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString& name, QWidget* parent, QSize size = {});

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    QPixmap m_drawn;
};
