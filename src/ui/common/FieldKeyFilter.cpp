#include "ui/common/FieldKeyFilter.h"

#include "core/KeyCodes.h"
#include "ui/common/KeyTranslation.h"

#include <QLineEdit>

namespace cubwave {

bool FieldKeyFilter::keyPress(QLineEdit* field, const QKeyEvent& event) const
{
    const TranslatedKey k = translateKey(event);
    // Keys that type nothing (arrows, Tab, Delete) keep their usual meaning.
    if (k.keyAscii == 0)
        return false;
    if (k.keyAscii == key::Esc)
        return escIsSwallowed;
    int keyAscii = k.keyAscii;
    rules(field, keyAscii);
    if (keyAscii == 0 || (enterIsSwallowed && keyAscii == key::Enter))
        return true;
    if (keyAscii == k.keyAscii)
        return false;  // unchanged: the field inserts it (or copies, pastes) as usual
    field->insert(QString(QChar(keyAscii)));
    return true;
}

}  // namespace cubwave
