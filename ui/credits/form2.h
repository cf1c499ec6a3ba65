#pragma once

#include "creditsstate.h"
#include "timeofdayrandom.h"

#include <QWidget>

namespace Toolkit {
class CommandButton;
class PictureBox;
class Timer;
}

// The credits window: the artwork ripples in Main while three panels roll up
// over it; the 221st tick of the roll says that the hand-off to the fader
// window is due, hides the window and stops the roll. Which window comes next,
// and when the program ends, is the program's business.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

    Toolkit::PictureBox *Main() const { return m_main; }
    Toolkit::PictureBox *Original() const { return m_original; }
    Toolkit::CommandButton *Command1() const { return m_command1; }
    Toolkit::CommandButton *Command2() const { return m_command2; }
    Toolkit::CommandButton *Command3() const { return m_command3; }
    Toolkit::Timer *Timer1() const { return m_timer1; }
    Toolkit::Timer *Timer2() const { return m_timer2; }
    Toolkit::Timer *Timer3() const { return m_timer3; }

    const Credits::CreditsState &state() const { return m_state; }
    void seedRandom(std::uint64_t seed) { m_random.seed(seed); }

    // The window's outer height, title bar and border included, as far as the
    // window system has told.
    double outerHeightTwips() const;
    // The outer height the roll measures from: the client height at load, the
    // outer height once the platform has put its frame around the window.
    double rollOuterHeight() const { return m_rollOuterHeight; }

    // The event handlers, run by the timers; tests call them directly.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    bool isLoaded() const { return m_loaded; }

public slots:
    // Stops the timers and closes the window for good.
    void unload();

signals:
    // Show the fader window now; the credits window hides right after.
    void handOffDue();
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Form_Load();
    void animate(bool on);

    Toolkit::PictureBox *m_main = nullptr;
    Toolkit::PictureBox *m_original = nullptr;
    Toolkit::CommandButton *m_command1 = nullptr;
    Toolkit::CommandButton *m_command2 = nullptr;
    Toolkit::CommandButton *m_command3 = nullptr;
    Toolkit::Timer *m_timer1 = nullptr;
    Toolkit::Timer *m_timer2 = nullptr;
    Toolkit::Timer *m_timer3 = nullptr;
    Credits::CreditsState m_state;
    Credits::TimeOfDayRandom m_random;
    double m_rollOuterHeight = 0;
    bool m_loaded = false;
};
