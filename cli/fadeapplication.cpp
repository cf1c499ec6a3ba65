#include "fadeapplication.h"

#include "processsetup.h"

#include <QGuiApplication>

FadeApplication::FadeApplication(const char *programName, bool graphical)
    : m_name(programName ? programName : "quorvex-fade")
{
    m_argv[m_argc++] = m_name.data();
    if (!graphical) {
        m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
        return;
    }
    if (const char *platform = previewPlatform(); platform && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        m_platform = platform;
        m_argv[m_argc++] = m_platformSwitch.data();
        m_argv[m_argc++] = m_platform.data();
    }
    m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

FadeApplication::~FadeApplication() = default;
