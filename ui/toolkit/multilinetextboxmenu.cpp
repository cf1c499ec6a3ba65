// The HTML box's context menu, the platform edit box's.
#include "multilinetextbox.h"

#include "clipboardtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace Toolkit {

QMenu *MultiLineTextBox::createContextMenu()
{
    const bool selection = m_control.hasSelection();
    auto *menu = new QMenu(this);
    menu->addAction(tr("&Undo"), this, &MultiLineTextBox::undo)->setEnabled(m_control.canUndo());
    menu->addSeparator();
    menu->addAction(tr("Cu&t"), this, &MultiLineTextBox::cut)->setEnabled(selection);
    menu->addAction(tr("&Copy"), this, &MultiLineTextBox::copy)->setEnabled(selection);
    menu->addAction(tr("&Paste"), this, &MultiLineTextBox::paste)
        ->setEnabled(!pastedText(QGuiApplication::clipboard()->mimeData()).isEmpty());
    menu->addAction(tr("&Delete"), this, [this] { replaceSelection(QStringView()); })->setEnabled(selection);
    menu->addSeparator();
    menu->addAction(tr("Select &All"), this, &MultiLineTextBox::selectAll)->setEnabled(!text().isEmpty());
    return menu;
}

} // namespace Toolkit
