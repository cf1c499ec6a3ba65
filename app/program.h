#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

namespace Tarnellbas {
class WindowSystem;
}
class Form1;
class Form2;

// The program's windows and its end. The credits roll first; whenever they say
// the hand-off is due, the fader window is shown, loaded first if it is not.
// Closing the fader window ends the program: the credits window unloads, and
// finished() is emitted once control is back in the event loop.
class Program : public QObject
{
    Q_OBJECT

public:
    // windows is how the fader window reaches AIM; it must outlive the program.
    explicit Program(Tarnellbas::WindowSystem &windows, QObject *parent = nullptr);
    ~Program() override;

    void start();

    Form2 *credits() const { return m_credits.get(); }
    Form1 *fader() const;

signals:
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFader();
    void end();

    Tarnellbas::WindowSystem &m_windows;
    std::unique_ptr<Form2> m_credits;
    // Owned; deleted with the program. A fader command may be running,
    // processing events, when the user closes the window.
    QPointer<Form1> m_fader;
    bool m_faderClosing = false;
    bool m_ended = false;
};
