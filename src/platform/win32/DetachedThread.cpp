#include "DetachedThread.h"

#include <windows.h>

#include <memory>

namespace platform {
namespace {

DWORD WINAPI RunWork(void* parameter) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  (*work)();
  return 0;
}

}  // namespace

bool RunDetached(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
  if (thread == nullptr) {
    return false;
  }
  owned.release();  // the thread deletes it
  CloseHandle(thread);
  return true;
}

}  // namespace platform
