#pragma once

#include <QWidget>

// The product logo: a meter dial with a falcon-wing pointer, drawn in code so
// it scales with the window and needs no image files.
class LogoWidget : public QWidget
{
    Q_OBJECT
public:
    explicit LogoWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
