// The socket layer's start and cleanup around the update queries.
#pragma once

// Starts the socket layer for HttpFetch. Every start that returns true is
// balanced by one CleanupSockets; starts nest.
bool StartSockets();
void CleanupSockets();
