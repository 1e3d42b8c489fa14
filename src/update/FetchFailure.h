// Why the last HttpFetch that failed gave 0. Its callers see only the 0; the
// reason is kept for the tests and for whoever debugs a failing update.
#pragma once

enum class FetchFailure {
  kNone,      // the last fetch succeeded
  kUrl,       // the URL was refused before anything was sent
  kTarget,    // the memory block or the file could not be made
  kLookup,    // the host name did not resolve, or a quit came during its lookup
  kSocket,    // no socket, no connection attempt or a failed poll
  kSend,      // the request could not be sent: refused or broken
  kReceive,   // reading from the connection failed
  kReply,     // the reply could not be kept: over the bound, malformed framing, a failed write
  kCutShort,  // the connection closed before a chunked body's end
  kTimedOut,  // nothing was read for about a minute
  kStopped,   // the caller's stop flag was set
  kQuit,      // a quit message was taken while waiting
};

// The reason of the last fetch; kNone after a success.
FetchFailure LastFetchFailure();
