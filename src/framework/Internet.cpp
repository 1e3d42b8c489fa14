#include "framework/Internet.h"

#include "platform/http/CrackedUrl.h"
#include "platform/http/HttpGet.h"

#include <cstring>

BOOL AfxParseURL(const char* url, std::string& server, std::string& object, INTERNET_PORT& port) {
  const platform::CrackedUrl cracked = platform::CrackUrl(url != nullptr ? url : "");
  server = cracked.server;
  object = cracked.object;
  port = static_cast<INTERNET_PORT>(cracked.port);
  return server.empty() ? FALSE : TRUE;
}

CHttpConnection* CInternetSession::GetHttpConnection(const char* server, INTERNET_PORT port) {
  return new CHttpConnection(server != nullptr ? server : "", port);
}

CHttpFile* CHttpConnection::OpenRequest(const char* object) {
  return new CHttpFile(std::make_unique<platform::HttpGet>(server_, port_, object != nullptr ? object : "/"));
}

CHttpFile::CHttpFile(std::unique_ptr<platform::HttpGet> request) : request_(std::move(request)) {}

CHttpFile::~CHttpFile() = default;

BOOL CHttpFile::SendRequest() {
  std::string error;
  if (request_ == nullptr || !request_->Send(error)) throw CInternetException(error);
  return TRUE;
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, void* buffer, DWORD* length) const {
  if (request_ == nullptr || infoLevel != HTTP_QUERY_CONTENT_LENGTH || length == nullptr) return FALSE;
  const std::optional<std::string> value = request_->Header("Content-Length");
  if (!value) return FALSE;
  if (buffer == nullptr || *length <= value->size()) {
    *length = static_cast<DWORD>(value->size() + 1);
    return FALSE;
  }
  std::memcpy(buffer, value->c_str(), value->size() + 1);
  *length = static_cast<DWORD>(value->size());
  return TRUE;
}

UINT CHttpFile::Read(void* buffer, UINT count) {
  std::string error;
  const std::optional<std::size_t> read =
      request_ != nullptr ? request_->Read(static_cast<char*>(buffer), count, error) : std::nullopt;
  if (!read) throw CInternetException(error);
  return static_cast<UINT>(*read);
}

void CHttpFile::Close() { request_.reset(); }
