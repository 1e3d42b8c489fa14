// The process's socket layer, started and cleaned up in counted pairs.
//
// Linux sockets need no start of their own; the count is kept so that code
// written for a counted start keeps its shape, and sockets open only while a
// start is outstanding, so a caller that forgot to start fails at once.
#pragma once

namespace platform {

// Counts one start of the socket layer.
void StartSocketLayer();
// Balances one StartSocketLayer; a cleanup without a start is ignored.
void CleanupSocketLayer();
// True while more starts than cleanups have been made.
bool SocketLayerStarted();

}  // namespace platform
