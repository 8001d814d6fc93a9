#include "app/ProgramPorts.h"

namespace cubwave {

ProgramPorts::ProgramPorts(ExportServices exportServices) : exports_(std::move(exportServices)) {}

MainWindowPorts ProgramPorts::ports() { return {cw_, voice_, rig_, spots_, exports_, windows_}; }

}  // namespace cubwave
