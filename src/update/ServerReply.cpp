#include "update/ServerReply.h"

#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"

ServerReply::ServerReply(const char* url) {
  if (!StartSockets()) {
    return;
  }
  int stop = 0;
  // The count is not needed: an empty reply also counts 0, so success shows
  // only in whether the block was handed over.
  HttpFetch(url, &m_pBlock, 1, 1, &stop, nullptr);
  CleanupSockets();
}

ServerReply::~ServerReply() { DownloadBuffer::Release(m_pBlock); }
