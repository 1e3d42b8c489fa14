// The registry functions on Windows: the 32-bit view, string values only,
// bounded sizes, and a value read live at every call.
#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "ScratchKey.h"
#include "platform/registry/MachineKey.h"

namespace {

// What RegQueryValueEx hands back for a value into a buffer of `capacity`.
struct Query {
  LSTATUS status;
  std::string data;  // the buffer's bytes up to the size reported, when they were copied
  DWORD size;

  bool operator==(const Query&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Query& query) {
  return out << "{status " << query.status << ", \"" << query.data << "\", size " << query.size << "}";
}

// The text with the case of each letter turned.
std::string OtherCase(std::string text) {
  for (char& c : text) c = std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c);
  return text;
}

class RegistryTest : public testing::Test {
 protected:
  // Opens the scratch key through the reader; null when it cannot.
  HKEY Open(const std::string& path) const {
    HKEY key = nullptr;
    return RegOpenKeyEx(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
  }

  Query Read(const char* name, DWORD capacity) const {
    const HKEY key = Open(scratch_.Path());
    EXPECT_NE(key, nullptr);
    if (key == nullptr) return {};
    std::string buffer(capacity, '#');
    DWORD size = capacity;
    DWORD type = 0;
    const LSTATUS status = RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return {status, "", 0};
    EXPECT_EQ(type, REG_SZ);
    buffer.resize(std::min(size, capacity));
    return {status, buffer, size};
  }

  ScratchKey scratch_;
};

TEST_F(RegistryTest, TheKeyIsReadInThe32BitViewOnly) {
  ASSERT_TRUE(scratch_.SeenIn32BitView());
  EXPECT_FALSE(scratch_.SeenIn64BitView());
  scratch_.SetString("GameVerSP", std::string("2.0.1.0.3", 10));
  EXPECT_EQ(Read("GameVerSP", 20), (Query{ERROR_SUCCESS, std::string("2.0.1.0.3", 10), 10}));
}

TEST_F(RegistryTest, StringsAreReadWithTheirZeroCutToTheBufferAndOtherValuesAreNotSeen) {
  const std::string atBound(kMaxStringValueSize - 1, 'b');
  scratch_.SetString("Version", std::string("2.0.1.0.3", 10));
  scratch_.SetString("Unterminated", "2.0.1");
  scratch_.SetString("Inner zero", std::string("2.0\0junk", 9));
  scratch_.SetString("Empty", "");
  scratch_.SetString("Long", "2.0.1.0.4-build-20240520-release");
  scratch_.SetString("At the bound", atBound + '\0');
  scratch_.SetString("Over the bound", atBound + "bb");
  scratch_.SetNumber("Number", 0x203);
  scratch_.SetString("", "default");
  const struct {
    const char* name;
    DWORD capacity;
    Query read;
  } cases[] = {
      {"Version", 20, {ERROR_SUCCESS, std::string("2.0.1.0.3", 10), 10}},
      {"version", 10, {ERROR_SUCCESS, std::string("2.0.1.0.3", 10), 10}},
      {"Unterminated", 20, {ERROR_SUCCESS, std::string("2.0.1", 6), 6}},
      {"Inner zero", 20, {ERROR_SUCCESS, std::string("2.0", 4), 4}},
      {"Empty", 20, {ERROR_SUCCESS, std::string(1, '\0'), 1}},
      // The part that fits, without a zero; the size says what is missing.
      {"Long", 20, {ERROR_MORE_DATA, "2.0.1.0.4-build-2024", 33}},
      {"Version", 9, {ERROR_MORE_DATA, "2.0.1.0.3", 10}},
      {"At the bound", static_cast<DWORD>(kMaxStringValueSize), {ERROR_SUCCESS, atBound + '\0', kMaxStringValueSize}},
      {"Over the bound", static_cast<DWORD>(kMaxStringValueSize + 1), {ERROR_FILE_NOT_FOUND, "", 0}},
      {"Number", 20, {ERROR_FILE_NOT_FOUND, "", 0}},
      {"Missing", 20, {ERROR_FILE_NOT_FOUND, "", 0}},
      {"", 20, {ERROR_SUCCESS, std::string("default", 8), 8}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.name, c.capacity), c.read) << '"' << c.name << "\" into " << c.capacity << " bytes";
  }
}

TEST_F(RegistryTest, TheSizeAloneIsAskedForWithoutABuffer) {
  scratch_.SetString("Long", "2.0.1.0.4-build-20240520-release");
  const HKEY key = Open(scratch_.Path());
  ASSERT_NE(key, nullptr);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(key, "Long", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 33u);
  EXPECT_EQ(RegQueryValueEx(key, "Long", nullptr, nullptr, reinterpret_cast<BYTE*>(&size), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// The status line reads the version ten times a second: a new value is seen
// at the next read, through a key opened anew or one held open.
TEST_F(RegistryTest, AChangedValueIsSeenAtTheNextRead) {
  const HKEY held = Open(scratch_.Path());
  ASSERT_NE(held, nullptr);
  for (const std::string version : {"2.0.1.0.3", "2.0.1.0.4", "2.1"}) {
    scratch_.SetString("GameVerSP", version + '\0');
    EXPECT_EQ(Read("GameVerSP", 20).data, version + '\0');
    char buffer[20] = {};
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueEx(held, "GameVerSP", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(buffer), version);
  }
  EXPECT_EQ(RegCloseKey(held), ERROR_SUCCESS);
}

TEST_F(RegistryTest, MissingKeysAndWrongArgumentsFail) {
  HKEY key = nullptr;
  const HKEY other = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
  const struct {
    const char* what;
    HKEY root;
    std::string path;
    HKEY* result;
    LSTATUS status;
  } cases[] = {
      {"a missing key", HKEY_LOCAL_MACHINE, scratch_.Path() + "\\Missing", &key, ERROR_FILE_NOT_FOUND},
      {"the path in other case", HKEY_LOCAL_MACHINE, OtherCase(scratch_.Path()), &key, ERROR_SUCCESS},
      {"another root", other, scratch_.Path(), &key, ERROR_INVALID_HANDLE},
      {"no result", HKEY_LOCAL_MACHINE, scratch_.Path(), nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(c.root, c.path.c_str(), 0, KEY_READ, c.result), c.status) << c.what;
    if (key != nullptr) {
      EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
  }
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, nullptr, 0, KEY_READ, &key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueEx(HKEY_LOCAL_MACHINE, "GameVerSP", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}

}  // namespace
