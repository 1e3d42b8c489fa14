// Where a fetch puts the bytes it receives.
#pragma once

class FetchSink {
 public:
  // A sink destroyed before Complete discards everything it stored.
  virtual ~FetchSink() = default;
  // Stores one chunk after the ones before; false fails the fetch.
  virtual bool Store(const char* chunk, int length) = 0;
  // Hands what was stored to the caller; returns the fetch's result.
  virtual int Complete() = 0;
};
