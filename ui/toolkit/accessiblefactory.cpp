#include "accessiblefactory.h"

#include "commandbutton.h"
#include "label.h"
#include "labelaccessible.h"
#include "multilinetextbox.h"
#include "multilinetextboxaccessible.h"
#include "picturebox.h"
#include "pictureboxaccessible.h"
#include "textpanelaccessible.h"

#include <QAccessible>

namespace Toolkit {

namespace {

// Qt asks with the object's class name and then with each base class's;
// a button that is no text panel falls through to Qt's own push button.
QAccessibleInterface *toolkitAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(Label::staticMetaObject.className()))
        return new LabelAccessible(static_cast<Label *>(object));
    if (className == QLatin1String(MultiLineTextBox::staticMetaObject.className()))
        return new MultiLineTextBoxAccessible(static_cast<MultiLineTextBox *>(object));
    if (className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new PictureBoxAccessible(static_cast<PictureBox *>(object));
    if (className == QLatin1String(CommandButton::staticMetaObject.className())
        && static_cast<CommandButton *>(object)->isTextPanel())
        return new TextPanelAccessible(static_cast<CommandButton *>(object));
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = (QAccessible::installFactory(toolkitAccessible), true);
    Q_UNUSED(installed);
}

} // namespace Toolkit
