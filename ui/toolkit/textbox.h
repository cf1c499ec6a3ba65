#pragma once

#include <QLineEdit>

namespace Toolkit {

// A one-line text box without a length limit of its own. It keeps the text it
// is given as it is, carriage returns and line feeds included.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);
};

} // namespace Toolkit
