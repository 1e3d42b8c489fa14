// The address of the server a URL names.
#pragma once

#include "platform/network/Ipv4Address.h"

// A dotted address as it is; any other host text is looked up as a name
// while the thread's window messages are dispatched. False when the name
// does not resolve, or when the quit message was taken meanwhile (it is
// then posted again).
bool ResolveServer(const char* host, platform::Ipv4Address* address);
