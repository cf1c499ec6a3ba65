#pragma once

#include "creditsstate.h"
#include "timeofdayrandom.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace Toolkit {
class CommandButton;
class PictureBox;
class Timer;
}

// The credits window: the artwork ripples in Main while three panels roll up
// over it; at the 221st tick of the roll it shows the fader window and hides.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // loadFader makes the fader window when it is first shown; Form2 owns it from then on,
    // and unloads when the user closes it.
    explicit Form2(std::function<QWidget *()> loadFader, QWidget *parent = nullptr);
    ~Form2() override;

    Toolkit::PictureBox *Main() const { return m_main; }
    Toolkit::PictureBox *Original() const { return m_original; }
    Toolkit::CommandButton *Command1() const { return m_command1; }
    Toolkit::CommandButton *Command2() const { return m_command2; }
    Toolkit::CommandButton *Command3() const { return m_command3; }
    Toolkit::Timer *Timer1() const { return m_timer1; }
    Toolkit::Timer *Timer2() const { return m_timer2; }
    Toolkit::Timer *Timer3() const { return m_timer3; }
    QWidget *fader() const { return m_fader; }

    const Credits::CreditsState &state() const { return m_state; }
    void seedRandom(std::uint64_t seed) { m_random.seed(seed); }

    // The window's outer height, title bar and border included, as far as the
    // window system has told.
    double outerHeightTwips() const;
    // The outer height when the window loaded, which the roll measures from.
    double loadedOuterHeight() const { return m_loadedOuterHeight; }

    // The event handlers, run by the timers; tests call them directly.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    bool isLoaded() const { return m_loaded; }

public slots:
    // Stops the timers and closes the window for good.
    void unload();

signals:
    void unloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Form_Load();
    void showFader();
    void animate(bool on);

    std::function<QWidget *()> m_loadFader;
    QPointer<QWidget> m_fader;
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
    double m_loadedOuterHeight = 0;
    bool m_loaded = false;
    bool m_faderClosing = false;
};
