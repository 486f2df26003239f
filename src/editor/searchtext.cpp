#include "searchtext.h"

#include <algorithm>

namespace zendral {

SearchText::SearchText(const QString &text)
{
    // A text without a CR is its own search text, shared rather than copied.
    if (!text.contains(u'\r')) {
        m_text = text;
        return;
    }
    const qsizetype size = text.size();
    m_text.resize(size);
    QChar *out = m_text.data();
    const QChar *in = text.constData();
    qsizetype written = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (in[i] != u'\r') {
            out[written++] = in[i];
            continue;
        }
        if (i + 1 < size && in[i + 1] == u'\n') {
            m_crLfOriginal.push_back(i);
            m_crLfSearch.push_back(written);
            ++i;
        }
        out[written++] = u'\n';
    }
    m_text.truncate(written);
}

qint64 SearchText::toOriginal(qint64 position) const
{
    // Every CR LF that starts before the position adds its second character.
    const auto before = std::lower_bound(m_crLfSearch.begin(), m_crLfSearch.end(), position);
    return position + (before - m_crLfSearch.begin());
}

qint64 SearchText::fromOriginal(qint64 position) const
{
    // A CR LF counts once it is passed whole; the place between its characters is its start.
    const auto passed =
        std::lower_bound(m_crLfOriginal.begin(), m_crLfOriginal.end(), position - 1);
    return position - (passed - m_crLfOriginal.begin());
}

} // namespace zendral
