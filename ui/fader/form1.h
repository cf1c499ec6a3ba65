#pragma once

#include <QWidget>

namespace Tarnellbas {
class WindowSystem;
}

namespace Toolkit {
class CommandButton;
class HScrollBar;
class Label;
class MultiLineTextBox;
class PictureBox;
class TextBox;
} // namespace Toolkit

// The fader window: three colour pickers, the text to fade, the HTML it
// becomes, a preview of that HTML, and the commands "Fade", "Fade Wavy" and
// "Send IM". Every control carries its name as its object name. "Send IM"
// talks to AIM through the window system it is given.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Tarnellbas::WindowSystem &windows, QWidget *parent = nullptr);

public slots:
    void Form_Load();

    void Red1_Change();
    void Green1_Change();
    void Blue1_Change();
    void red2_Change();
    void green2_Change();
    void blue2_Change();
    void red3_Change();
    void green3_Change();
    void blue3_Change();

    void Command1_MouseMove();
    void Command3_MouseMove();
    void Command5_MouseMove();
    void Form_MouseMove();

    void Command1_Click();
    void Command5_Click();
    void Command3_Click();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void setTabOrder();
    void runCommand(void (Form1::*handler)());
    void fade(bool wavy);
    void paintSwatch(Toolkit::Label *swatch, Toolkit::HScrollBar *red, Toolkit::HScrollBar *green,
                     Toolkit::HScrollBar *blue);

    Tarnellbas::WindowSystem &m_windows;

    Toolkit::HScrollBar *red1, *green1, *blue1;
    Toolkit::HScrollBar *red2, *green2, *blue2;
    Toolkit::HScrollBar *red3, *green3, *blue3;
    Toolkit::Label *color1, *color2, *Color3;
    Toolkit::CommandButton *Command1, *Command5, *Command3;
    Toolkit::TextBox *Text1;
    Toolkit::MultiLineTextBox *Text2;
    Toolkit::Label *Label1;
    Toolkit::PictureBox *Picture1;

    int m_commandsRunning = 0;
    bool m_deleteWhenIdle = false;
};
