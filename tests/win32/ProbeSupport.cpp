#include "ProbeSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr auto kTimeOut = std::chrono::seconds(30);
constexpr DWORD kPollMs = 5;
constexpr DWORD kTimeOutMs = 30000;

std::string CurrentDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
  EXPECT_GT(length, 0u);
  EXPECT_LT(length, static_cast<DWORD>(MAX_PATH));
  return path;
}

}  // namespace

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_GT(length, 0u);
  EXPECT_LT(length, static_cast<DWORD>(MAX_PATH));
  const std::string file(path, length);
  return file.substr(0, file.rfind('\\'));
}

bool WaitUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kTimeOut;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool WaitForProcessEnd(unsigned long id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return true;
  const DWORD waited = WaitForSingleObject(process, kTimeOutMs);
  CloseHandle(process);
  return waited == WAIT_OBJECT_0;
}

std::optional<std::vector<std::string>> FileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ScratchDirectory::ScratchDirectory() : previous_(CurrentDirectory()) {
  char temp[MAX_PATH] = {};
  EXPECT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  static int made = 0;
  path_ =
      std::string(temp) + "moravine-scratch-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
  EXPECT_TRUE(SetCurrentDirectoryA(path_.c_str())) << path_;
}

ScratchDirectory::~ScratchDirectory() {
  EXPECT_TRUE(SetCurrentDirectoryA(previous_.c_str()));
  std::error_code failure;
  std::filesystem::remove_all(path_, failure);
  EXPECT_FALSE(failure) << path_ << ": " << failure.message();
}

void ScratchDirectory::Put(const std::string& name, const std::string& content) const {
  std::ofstream(path_ + "\\" + name, std::ios::binary) << content;
}
