#include "framework/Internet.h"

#include "platform/network/CrackedUrl.h"
#include "platform/network/HttpGet.h"

#include <chrono>
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

BOOL CHttpFile::SetOption(DWORD option, DWORD value) {
  if (request_ == nullptr || option != INTERNET_OPTION_RECEIVE_TIMEOUT) return FALSE;
  platform::HttpGet::StallLimits limits;
  limits.silence = std::chrono::milliseconds(value);
  request_->SetStallLimits(limits);
  return TRUE;
}

BOOL CHttpFile::SendRequest() {
  std::string error;
  if (request_ == nullptr || !request_->Start(error)) throw CInternetException(error);
  return TRUE;
}

BOOL CHttpFile::IsReplyReady() {
  std::string error;
  if (request_ == nullptr || !request_->Advance(error)) throw CInternetException(error);
  return request_->HeadersArrived() ? TRUE : FALSE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& statusCode) const {
  if (request_ == nullptr || !request_->HeadersArrived()) return FALSE;
  statusCode = static_cast<DWORD>(request_->Status());
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

BOOL CHttpFile::QueryDataAvailable(DWORD* available) {
  std::string error = "the transfer is closed";
  if (request_ == nullptr || !request_->Advance(error)) throw CInternetException(error);
  *available = static_cast<DWORD>(request_->Available());
  return *available > 0 || request_->BodyEnded() ? TRUE : FALSE;
}

UINT CHttpFile::Read(void* buffer, UINT count) {
  return request_ != nullptr ? static_cast<UINT>(request_->Read(static_cast<char*>(buffer), count)) : 0;
}

void CHttpFile::Close() { request_.reset(); }
