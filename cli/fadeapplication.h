#pragma once

#include <QByteArray>
#include <QCoreApplication>

#include <memory>

// The Qt application quorvex-fade runs in, built from the program's name and
// the platform choice alone: previewPlatform() unless QT_QPA_PLATFORM names
// one (off-screen where it can: the same picture with or without a display,
// and no abort when DISPLAY names a server that is gone). The user's arguments never reach Qt, which would
// take words such as "-platform" or "-reverse" out of the text, even after "--".
class FadeApplication
{
public:
    FadeApplication(const char *programName, bool graphical);
    ~FadeApplication();
    FadeApplication(const FadeApplication &) = delete;
    FadeApplication &operator=(const FadeApplication &) = delete;

private:
    // Qt keeps references to argc and argv for the application's lifetime.
    QByteArray m_name, m_platformSwitch = "-platform", m_platform;
    char *m_argv[4] = {};
    int m_argc = 0;
    std::unique_ptr<QCoreApplication> m_app;
};
