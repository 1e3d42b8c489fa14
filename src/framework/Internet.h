// The framework's internet classes: a session, a connection to one HTTP
// server and a request on it, over the platform's HTTP client. Failures of
// the connection or the transfer raise CInternetException.
#pragma once

#include "framework/CException.h"

#include <memory>
#include <string>

namespace platform {
class HttpGet;
}

#ifdef _WIN32
// INTERNET_PORT, HTTP_QUERY_CONTENT_LENGTH and INTERNET_OPTION_RECEIVE_TIMEOUT
// are Windows' own.
#include <wininet.h>
#else
using INTERNET_PORT = WORD;

inline constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
// The longest time a transfer may go without receiving anything, in ms.
inline constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
#endif

// A failed connection, request or transfer, with the HTTP client's text.
class CInternetException : public CException {
 public:
  explicit CInternetException(std::string errorText) : CException(std::move(errorText)) {}
};

// Splits url into server, object (path and query) and port: blanks and
// control characters at both ends are dropped, unsafe characters in the
// object are escaped, and the port is 80 when the URL names none. FALSE when
// the URL names no server.
BOOL AfxParseURL(const char* url, std::string& server, std::string& object, INTERNET_PORT& port);

class CHttpFile;

// A connection to one server; each request makes its own connection when it
// is sent, and deleting the objects lets everything go.
class CHttpConnection {
 public:
  CHttpConnection(std::string server, INTERNET_PORT port) : server_(std::move(server)), port_(port) {}
  CHttpConnection(const CHttpConnection&) = delete;
  CHttpConnection& operator=(const CHttpConnection&) = delete;

  // A new HTTP/1.0 GET of object (escaped path and query); the caller owns it.
  CHttpFile* OpenRequest(const char* object);

 private:
  std::string server_;
  INTERNET_PORT port_;
};

// The internet session. Its requests carry no User-Agent and go through the
// proxy that the user's environment names (http_proxy, no_proxy).
class CInternetSession {
 public:
  CInternetSession() = default;
  CInternetSession(const CInternetSession&) = delete;
  CInternetSession& operator=(const CInternetSession&) = delete;

  // A new connection to server:port; the caller owns it.
  CHttpConnection* GetHttpConnection(const char* server, INTERNET_PORT port);
};

// One request and its reply, whose body is read in the caller's pace. No
// call waits for the network: each moves the transfer on as far as it can
// go at that moment, so the caller looks again later (on its next timer
// tick) for what has not come yet.
class CHttpFile {
 public:
  explicit CHttpFile(std::unique_ptr<platform::HttpGet> request);
  ~CHttpFile();
  CHttpFile(const CHttpFile&) = delete;
  CHttpFile& operator=(const CHttpFile&) = delete;

  // INTERNET_OPTION_RECEIVE_TIMEOUT (ms; 60 s unless set) before
  // SendRequest; FALSE for any other option.
  BOOL SetOption(DWORD option, DWORD value);
  // Starts the request and returns at once. Throws CInternetException when
  // the request cannot be made at all.
  BOOL SendRequest();
  // TRUE once the final reply's headers have arrived. Throws
  // CInternetException when the server cannot be reached or does not answer.
  BOOL IsReplyReady();
  // The final reply's status code; FALSE before its headers.
  BOOL QueryInfoStatusCode(DWORD& statusCode) const;
  // Copies the reply's Content-Length (the only level answered) as text into
  // buffer, *length bytes long, and sets *length to the text's length. FALSE
  // when the reply has none, or, with *length set to the room needed, when
  // the buffer is too small.
  BOOL QueryInfo(DWORD infoLevel, void* buffer, DWORD* length) const;
  // TRUE with *available the body bytes that Read hands out at once, or TRUE
  // with 0 once the body has ended and been read; FALSE while nothing new
  // has come. Throws CInternetException when the transfer fails (stalls
  // included) or the file is closed.
  BOOL QueryDataAvailable(DWORD* available);
  // Copies up to count of the available body bytes; never waits.
  UINT Read(void* buffer, UINT count);
  // Ends the transfer and lets its connection go.
  void Close();

 private:
  std::unique_ptr<platform::HttpGet> request_;
};
