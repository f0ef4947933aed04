// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QWidget>

class QPainter;

// The product logo: a meter dial with a falcon-wing pointer, drawn in code so
// it scales with the window and needs no image files.
class LogoWidget : public QWidget
{
    Q_OBJECT
public:
    explicit LogoWidget(QWidget *parent = nullptr);

    // Draws the logo into the square (0, 0, side, side) of `painter`.
    static void paintLogo(QPainter &painter, qreal side);
    // The logo as the program's window icon, drawn at the sizes desktops ask for.
    static QIcon icon();

protected:
    void paintEvent(QPaintEvent *event) override;
};
