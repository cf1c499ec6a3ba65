#include "clipboardtext.h"

#include <QMimeData>

#include <cstring>

namespace Toolkit {

QMimeData *clipboardDataFor(const QString &text)
{
    auto *data = new QMimeData;
    data->setData(QLatin1String(kExactTextMimeType),
                  QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t))));
    data->setText(text);
    return data;
}

QString pastedText(const QMimeData *data)
{
    if (!data)
        return {};
    if (data->hasFormat(QLatin1String(kExactTextMimeType))) {
        const QByteArray units = data->data(QLatin1String(kExactTextMimeType));
        QString exact(units.size() / qsizetype(sizeof(char16_t)), Qt::Uninitialized);
        std::memcpy(exact.data(), units.constData(), exact.size() * sizeof(char16_t));
        return exact;
    }
    const QString plain = data->text();
    QString pasted;
    pasted.reserve(plain.size() + plain.count(u'\n'));
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == u'\n' && (i == 0 || plain[i - 1] != u'\r'))
            pasted += u'\r';
        pasted += plain[i];
    }
    return pasted;
}

} // namespace Toolkit
