#include "spots/ReceivedText.h"

namespace cubwave {

void ReceivedText::replace(QStringView text)
{
    text_.clear();
    append(text);
}

void ReceivedText::append(QStringView text)
{
    changed_ = true;
    if (text_.size() + text.size() <= kHardLimit) {
        text_.append(text);
        return;
    }
    // Only the newest text can still be seen, so a flood is cut before it is copied: a 1 MiB
    // line costs one 64 KiB copy, not a 1 MiB string.
    const QLatin1StringView mark(kDroppedMark);
    const qsizetype keep = kHardLimit - mark.size();
    QString kept;
    kept.reserve(kHardLimit);
    kept.append(mark);
    if (text.size() >= keep) {
        kept.append(text.right(keep));
    } else {
        kept.append(QStringView(text_).right(keep - text.size()));
        kept.append(text);
    }
    text_ = std::move(kept);
}

void ReceivedText::tidy()
{
    if (text_.size() > kTidyAbove) {
        text_ = text_.right(kTidyKeep);
        changed_ = true;
    }
    if (text_.size() >= 3)
        caret_ = text_.size() - 1;
}

void ReceivedText::clear()
{
    if (!text_.isEmpty())
        changed_ = true;
    text_.clear();
}

bool ReceivedText::takeChanged()
{
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

bool ReceivedText::isDuplicate(QStringView candidate) const
{
    if (candidate.isEmpty())
        return true;
    // The search starts kDuplicateWindow characters before the end counted from one, so the
    // character just before that window is searched too.
    const qsizetype from = qMax<qsizetype>(0, text_.size() - kDuplicateWindow - 1);
    return QStringView(text_).indexOf(candidate, from, Qt::CaseInsensitive) >= 0;
}

}  // namespace cubwave
