#include "data/stored_text.h"

#include "textrules/text_collator.h"

namespace platform {

bool sameStoredText(const QString& a, const QString& b) {
    const textrules::TextCollator collator;
    const QByteArray utf8A = a.toUtf8();
    const QByteArray utf8B = b.toUtf8();
    return collator.compare({utf8A.constData(), static_cast<std::size_t>(utf8A.size())},
                            {utf8B.constData(), static_cast<std::size_t>(utf8B.size())}) == 0;
}

} // namespace platform
