// One reply of the update server, fetched into memory with sockets started
// just for it.
#pragma once

class ServerReply {
 public:
  // Starts sockets, fetches url (no-cache headers, never stopped, no
  // progress reports) and cleans the sockets up again at once.
  explicit ServerReply(const char* url);
  ~ServerReply();

  ServerReply(const ServerReply&) = delete;
  ServerReply& operator=(const ServerReply&) = delete;

  // The raw response, zero-terminated; null when sockets could not be
  // started or the fetch failed.
  const char* Text() const { return m_pBlock; }

 private:
  char* m_pBlock = nullptr;
};
