#include "rig/RigctldAddress.h"

#include "platform/SettingsStore.h"

namespace cubwave {

int RigctldAddress::port() const
{
    bool ok = false;
    const int value = portText.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= 65535 ? value : 0;
}

RigctldAddress RigctldAddress::read(const SettingsStore& store)
{
    RigctldAddress address;
    address.host = store.value(kHostKey, kDefaultHost);
    address.portText = store.value(kPortKey, kDefaultPort);
    return address;
}

void RigctldAddress::write(SettingsStore& store) const
{
    store.setValue(kHostKey, host.trimmed());
    store.setValue(kPortKey, portText.trimmed());
}

}  // namespace cubwave
