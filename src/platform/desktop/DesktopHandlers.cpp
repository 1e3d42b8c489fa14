#include "platform/desktop/DesktopHandlers.h"

#include <gio/gio.h>

#include <memory>

namespace platform {
namespace {

struct ObjectRelease {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T>
using Owned = std::unique_ptr<T, ObjectRelease>;

struct TextRelease {
  void operator()(gchar* text) const { g_free(text); }
};
using OwnedText = std::unique_ptr<gchar, TextRelease>;

struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};
using OwnedError = std::unique_ptr<GError, ErrorRelease>;

// The scheme of an address; empty for a file name. A single letter before
// the colon is a Windows drive letter, not a scheme.
std::string SchemeOf(const std::string& target) {
  const OwnedText scheme(g_uri_parse_scheme(target.c_str()));
  if (scheme == nullptr || std::char_traits<char>::length(scheme.get()) < 2) return {};
  return scheme.get();
}

// A file name as a file address, resolved against the current directory now.
std::string FileAddress(const std::string& name) {
  const Owned<GFile> file(g_file_new_for_path(name.c_str()));
  const OwnedText address(g_file_get_uri(file.get()));
  return address.get();
}

HandlerStart Launch(GAppInfo* handler, const std::string& address) {
  if (handler == nullptr) return HandlerStart::NoHandler;
  GList item{const_cast<gchar*>(address.c_str()), nullptr, nullptr};
  return g_app_info_launch_uris(handler, &item, nullptr, nullptr) ? HandlerStart::Started : HandlerStart::NotStarted;
}

// The content type of a file, or the reason there is none.
HandlerStart ContentTypeOf(const std::string& name, std::string* type) {
  const Owned<GFile> file(g_file_new_for_path(name.c_str()));
  GError* failure = nullptr;
  const Owned<GFileInfo> info(
      g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, &failure));
  const OwnedError reason(failure);
  if (info == nullptr) {
    return g_error_matches(reason.get(), G_IO_ERROR, G_IO_ERROR_NOT_FOUND) ? HandlerStart::NoFile
                                                                           : HandlerStart::NotStarted;
  }
  const char* found = g_file_info_get_content_type(info.get());
  if (found == nullptr) return HandlerStart::NoHandler;
  *type = found;
  return HandlerStart::Started;
}

}  // namespace

HandlerStart OpenWithDefaultHandler(const std::string& target) {
  const std::string scheme = SchemeOf(target);
  if (!scheme.empty()) {
    const Owned<GAppInfo> handler(g_app_info_get_default_for_uri_scheme(scheme.c_str()));
    return Launch(handler.get(), target);
  }
  std::string type;
  const HandlerStart typed = ContentTypeOf(target, &type);
  if (typed != HandlerStart::Started) return typed;
  const Owned<GAppInfo> handler(g_app_info_get_default_for_type(type.c_str(), FALSE));
  return Launch(handler.get(), FileAddress(target));
}

HandlerStart OpenWithFileManager(const std::string& target) {
  const Owned<GAppInfo> handler(g_app_info_get_default_for_type("inode/directory", FALSE));
  return Launch(handler.get(), SchemeOf(target).empty() ? FileAddress(target) : target);
}

}  // namespace platform
