// The ctlSpmeter component object: the host's view of one control through
// the KvSpmeter function table. It holds the model and the window; all the
// behaviour lives in Speedometer.
#pragma once

#include "kelvane/kelvane.h"

namespace kelvane {

// Creates a control and hands out the interface iid. The host must have a
// QApplication and call from its thread.
KvResult createControl(const KvGuid* iid, void** object);

}  // namespace kelvane
