// HttpFetch: one HTTP/1.1 GET over a plain TCP socket, returning the reply:
// status line, headers and empty line exactly as received, then the body,
// exactly as received too unless the headers say it is chunked, in which case
// it comes decoded (see ChunkedSink.h).
#pragma once

// Progress codes passed to an HttpProgressProc.
inline constexpr int HTTP_PROGRESS_CONNECTING = 0;  // once, after the connection attempt was issued
inline constexpr int HTTP_PROGRESS_COMPLETED = 2;   // once, on success
inline constexpr int HTTP_PROGRESS_CHUNK = 3;       // after each chunk was stored

// Called with a progress code, the bytes stored and received so far (fewer
// are stored than received only for a chunked body), the size of the first
// chunk read (0 before it) and the tick at which the connection
// attempt began. Never called for a fetch that fails.
using HttpProgressProc = void (*)(int code, int storedBytes, int firstChunk, int receivedBytes, int startTick);

// Fetches url ("http://host/path" with the scheme in any case, or
// "host/path"; the server is always reached on port 80). With toMemory,
// target is a char** that receives, on success only, a zero-terminated
// DownloadBuffer block the caller releases with DownloadBuffer::Release;
// otherwise target is the path of a file to write, replaced if it exists
// and deleted again on failure. noCache adds the no-cache header lines.
// stopFlag, when not null, abandons the fetch once it points to nonzero.
// A null URL, or one holding control characters or blanks, is refused
// before anything is sent.
//
// Returns the bytes stored (memory) or the file's size, 0 on failure; an
// empty reply also gives 0, so memory-mode callers check the block pointer.
// The socket layer must be started (StartSockets). While it waits (for the
// host name's lookup, then for the socket), the thread's window messages are
// dispatched; a quit message taken then fails the fetch and is posted again.
// A fetch fails after about a minute without reading anything since the
// connection attempt, its completion or the last read. It ends when the
// server closes the connection, or at the end of a chunked body; a chunked
// body that is malformed or cut short fails it.
int HttpFetch(const char* url, void* target, int toMemory, int noCache, int* stopFlag, HttpProgressProc progress);
