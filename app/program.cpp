#include "program.h"

#include "ui/credits/form2.h"
#include "ui/fader/form1.h"

#include <QEvent>

#include <utility>

Program::Program(Tarnellbas::WindowSystem &windows, QObject *parent)
    : QObject(parent), m_windows(windows), m_credits(std::make_unique<Form2>())
{
    connect(m_credits.get(), &Form2::handOffDue, this, &Program::showFader);
    connect(m_credits.get(), &Form2::unloaded, this, &Program::end);
}

Program::~Program()
{
    if (m_fader) {
        m_fader->removeEventFilter(this);
        delete m_fader;
    }
}

Form1 *Program::fader() const
{
    return m_fader;
}

void Program::start()
{
    m_credits->show();
}

void Program::showFader()
{
    if (!m_fader) {
        m_fader = new Form1(m_windows);
        m_fader->installEventFilter(this);
    }
    m_fader->show();
}

void Program::end()
{
    if (std::exchange(m_ended, true))
        return;
    m_credits->unload();
    // Queued: a command of the fader window may still be running inside the
    // close; the program ends when control is back in the event loop.
    QMetaObject::invokeMethod(this, &Program::finished, Qt::QueuedConnection);
}

bool Program::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fader) {
        // An accepted close hides the window at once; a refused one does not,
        // and must not leave a later hide (by the program) looking like a close.
        if (event->type() == QEvent::Close) {
            m_faderClosing = true;
            QMetaObject::invokeMethod(this, [this] { m_faderClosing = false; }, Qt::QueuedConnection);
        } else if (event->type() == QEvent::Show)
            m_faderClosing = false;
        else if (event->type() == QEvent::Hide && m_faderClosing && !event->spontaneous())
            end();
    }
    return QObject::eventFilter(watched, event);
}
