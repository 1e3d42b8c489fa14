// http-fetch: fetches one URL with the update engine and prints the raw reply.
//
//   http-fetch URL
//
// Starts the socket layer, fetches URL into memory with the no-cache header
// lines, writes the reply (status line and headers included) to standard
// output and exits 0; on failure explains on standard error and exits 1.

#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"

#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  if (argc != 2) {
    std::fprintf(stderr, "usage: http-fetch URL\n");
    return 1;
  }
  const char* url = argv[1];
  if (!StartSockets()) {
    std::fprintf(stderr, "http-fetch: the socket layer could not be started\n");
    return 1;
  }
  char* reply = nullptr;
  const int size = HttpFetch(url, &reply, 1, 1, nullptr, nullptr);
  CleanupSockets();
  if (reply == nullptr) {
    std::fprintf(stderr,
                 "http-fetch: could not fetch %s (bad or over-long URL, unknown host, "
                 "refused or broken connection, no complete reply within the time-out, "
                 "or a reply over 1 MiB)\n",
                 url);
    return 1;
  }
  const bool written =
      std::fwrite(reply, 1, static_cast<std::size_t>(size), stdout) == static_cast<std::size_t>(size) &&
      std::fflush(stdout) == 0;
  DownloadBuffer::Release(reply);
  if (!written) {
    std::fprintf(stderr, "http-fetch: could not write the reply to standard output\n");
    return 1;
  }
  return 0;
}
