#include "platform/gtk/GtkBrowser.h"

#include "platform/gtk/GtkBrowserView.h"
#include "platform/gtk/GtkFirstPaintBrowser.h"
#include "platform/ui/ResourcePage.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace platform {
namespace {

// The web process's memory: the news page comes over plain HTTP, so a page
// that takes memory without end is stopped by WebKit. It releases memory
// from a quarter and from 35 % of the limit on, and is ended at half of it,
// looked at four times a second, so that a page growing fast is ended before
// it reaches the limit. A news page needs a small part of this.
constexpr guint kWebMemoryLimitMegabytes = 1024;
constexpr double kWebMemoryConservativeShare = 0.25;
constexpr double kWebMemoryStrictShare = 0.35;
constexpr double kWebMemoryKillShare = 0.5;
constexpr double kWebMemoryPollSeconds = 0.25;

// A res URI is answered from the program's own built-in pages, byte for
// byte; anything else under the scheme is a load error, never a file.
void OnResourceRequest(WebKitURISchemeRequest* request, gpointer) {
  const char* uri = webkit_uri_scheme_request_get_uri(request);
  BrowserHost* host = HostOfView(webkit_uri_scheme_request_get_web_view(request));
  const std::optional<std::string> page = host != nullptr ? ResourcePage(uri, *host) : std::nullopt;
  if (!page) {
    GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "%s is not a page of this program", uri);
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
    return;
  }
  GBytes* bytes = g_bytes_new(page->data(), page->size());
  GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
  webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(page->size()), "text/html");
  g_object_unref(stream);
  g_bytes_unref(bytes);
}

void OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) { webkit_download_cancel(download); }

}  // namespace

GtkBrowserEngine::GtkBrowserEngine(GtkDisplay& display) : display_(display) {}

GtkBrowserEngine::~GtkBrowserEngine() {
  // The program is ending. A page still loading then would have the web
  // process report the network process's end as an internal WebKit error on
  // the terminal, so the web process (the views share one) ends first.
  if (lastView_ != nullptr) {
    g_object_remove_weak_pointer(G_OBJECT(lastView_), reinterpret_cast<gpointer*>(&lastView_));
    webkit_web_view_terminate_web_process(lastView_);
  }
  if (settings_ != nullptr) {
    g_object_unref(settings_);
  }
  if (context_ != nullptr) {
    g_object_unref(context_);
  }
}

void GtkBrowserEngine::Start() {
  // Nothing of the pages is kept on disk. Processes are not swapped between
  // sites, so the panel and the windows it opens share one web process.
  WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
  WebKitMemoryPressureSettings* memory = webkit_memory_pressure_settings_new();
  webkit_memory_pressure_settings_set_memory_limit(memory, kWebMemoryLimitMegabytes);
  webkit_memory_pressure_settings_set_conservative_threshold(memory, kWebMemoryConservativeShare);
  webkit_memory_pressure_settings_set_strict_threshold(memory, kWebMemoryStrictShare);
  webkit_memory_pressure_settings_set_kill_threshold(memory, kWebMemoryKillShare);
  webkit_memory_pressure_settings_set_poll_interval(memory, kWebMemoryPollSeconds);
  context_ = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                             "process-swap-on-cross-site-navigation-enabled", FALSE,
                                             "memory-pressure-settings", memory, nullptr));
  webkit_memory_pressure_settings_free(memory);
  g_object_unref(data);
  // Pages are shown, never saved: the launcher writes no files of theirs.
  g_signal_connect(context_, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
  webkit_web_context_set_cache_model(context_, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  webkit_web_context_register_uri_scheme(context_, "res", OnResourceRequest, nullptr, nullptr);
  // Local: pages from the network cannot load or link to the built-in pages.
  webkit_security_manager_register_uri_scheme_as_local(webkit_web_context_get_security_manager(context_), "res");
  settings_ = webkit_settings_new_with_settings(
      "allow-file-access-from-file-urls", FALSE, "allow-universal-access-from-file-urls", FALSE,
      "enable-developer-extras", FALSE, "enable-write-console-messages-to-stdout", FALSE, nullptr);
}

std::unique_ptr<Browser> GtkBrowserEngine::CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) {
  // A child window of the display can always hold a view: WebKit is part
  // of the program, and what fails later (its processes) shows as an empty
  // page. So the answer is known at once, and the view itself, whose making
  // starts WebKit, waits for the window's first paint.
  GtkWidget* holder = display_.ChildWidget(window);
  if (holder == nullptr) {
    return nullptr;
  }
  return std::make_unique<GtkFirstPaintBrowser>(holder,
                                                [this, holder, rect, &host] { return MakeView(holder, rect, host); });
}

std::unique_ptr<Browser> GtkBrowserEngine::MakeView(GtkWidget* holder, ScreenRect rect, BrowserHost& host) {
  if (context_ == nullptr) {
    Start();
  }
  WebKitWebView* view = nullptr;
  auto browser = MakeGtkBrowser(context_, settings_, holder, rect, host, &view);
  if (lastView_ != nullptr) {
    g_object_remove_weak_pointer(G_OBJECT(lastView_), reinterpret_cast<gpointer*>(&lastView_));
  }
  lastView_ = view;
  g_object_add_weak_pointer(G_OBJECT(lastView_), reinterpret_cast<gpointer*>(&lastView_));
  return browser;
}

}  // namespace platform
