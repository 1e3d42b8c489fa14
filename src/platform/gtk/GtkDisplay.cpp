#include "platform/gtk/GtkDisplay.h"

#include <gtk/gtk.h>

#include <cmath>
#include <cstdlib>

namespace platform {

// The widgets of one window. A top-level window is a GtkWindow holding a
// GtkFixed: the drawing area that shows the backing store fills it, and
// child windows are placed over it. A child window is a blank event box that
// keeps the mouse to itself, as a native child does.
struct GtkDisplay::WindowParts {
  GtkDisplay* display = nullptr;
  void* owner = nullptr;
  GtkWidget* widget = nullptr;  // the GtkWindow, or the child's own widget
  GtkWidget* fixed = nullptr;   // top-level only
  GtkWidget* area = nullptr;    // top-level only
  GtkWidget* parentFixed = nullptr;
  const Surface* backing = nullptr;
  ScreenRect rect;  // child only: its place in the parent's client area
};

// A message box shown, with the reference that keeps its widget, and whether
// GTK has destroyed it already.
struct GtkDisplay::OpenBox {
  GtkWidget* widget = nullptr;
  bool destroyed = false;
};

namespace {

// The size of a message box's icon, as GTK's own dialogs draw theirs.
constexpr int kBoxIconPixels = 48;

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  const auto* parts = static_cast<const GtkDisplay::WindowParts*>(data);
  const Surface* backing = parts->backing;
  if (backing == nullptr || backing->Width() == 0 || backing->Height() == 0) {
    return TRUE;
  }
  // The backing store is read in place; at a HiDPI scale GTK enlarges it.
  cairo_surface_t* image = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<Surface*>(backing)->Data()), CAIRO_FORMAT_RGB24, backing->Width(),
      backing->Height(), backing->Width() * 4);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_surface_destroy(image);
  return TRUE;
}

// A move reaches the window only over its own client pixels. While a button
// is held, GTK keeps sending the drawing area the pointer's moves wherever it
// goes (outside the window, over a child window); Windows sends those
// nowhere, and the launcher's buttons rely on that.
void MovedOver(const GtkDisplay::WindowParts& parts, double eventX, double eventY) {
  const int x = static_cast<int>(std::floor(eventX));
  const int y = static_cast<int>(std::floor(eventY));
  DisplayEvents* sink = parts.display->Sink();
  if (sink != nullptr && parts.display->IsOwnClientPoint(parts, x, y)) {
    sink->MouseMoved(parts.owner, x, y);
  }
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  MovedOver(*static_cast<const GtkDisplay::WindowParts*>(data), event->x, event->y);
  return TRUE;
}

// The pointer coming into the window is a move over it, as on Windows.
gboolean OnEnter(GtkWidget*, GdkEventCrossing* event, gpointer data) {
  MovedOver(*static_cast<const GtkDisplay::WindowParts*>(data), event->x, event->y);
  return FALSE;
}

gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
  const auto* parts = static_cast<const GtkDisplay::WindowParts*>(data);
  // Double and triple clicks also come as single presses first; only those count.
  if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY) {
    return TRUE;
  }
  if (DisplayEvents* sink = parts->display->Sink()) {
    sink->LeftButtonPressed(parts->owner, static_cast<int>(std::floor(event->x)),
                            static_cast<int>(std::floor(event->y)));
  }
  return TRUE;
}

gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  const auto* parts = static_cast<const GtkDisplay::WindowParts*>(data);
  if (DisplayEvents* sink = parts->display->Sink()) {
    sink->CloseRequested(parts->owner);
  }
  return TRUE;  // the program decides whether the window goes
}

gboolean OnBlankDraw(GtkWidget* widget, cairo_t* cr, gpointer) {
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
  cairo_fill(cr);
  return FALSE;
}

// The box's only button, the close button and Escape all end it as OK: it
// is hidden, and the display lets it go when the program next asks.
void OnBoxResponse(GtkDialog* dialog, gint, gpointer) { gtk_widget_hide(GTK_WIDGET(dialog)); }

// The close button has already answered the box (the dialog's own handler
// runs first and sends its response); the box is not destroyed under the
// program.
gboolean OnBoxDeleteEvent(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

void OnBoxDestroyed(GtkWidget*, gpointer data) { static_cast<GtkDisplay::OpenBox*>(data)->destroyed = true; }

// GTK 3's message dialogs draw no icon of their own: a stop icon is put
// before the text.
void AddStopIcon(GtkWidget* box) {
  GtkWidget* text = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
  GtkWidget* row = gtk_widget_get_parent(text);
  g_return_if_fail(GTK_IS_BOX(row));
  GtkWidget* icon = gtk_image_new_from_icon_name("dialog-error", GTK_ICON_SIZE_DIALOG);
  gtk_image_set_pixel_size(GTK_IMAGE(icon), kBoxIconPixels);
  gtk_widget_set_valign(icon, GTK_ALIGN_START);
  gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
  gtk_box_reorder_child(GTK_BOX(row), icon, 0);
}

}  // namespace

GtkDisplay::GtkDisplay() {
  // Placement of our own windows only holds on X11; Wayland sessions run us through XWayland.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) {
    const char* name = std::getenv("DISPLAY");
    failure_ = name != nullptr && *name != '\0' ? std::string("cannot open the X display \"") + name + "\""
                                                : std::string("no X display is set (DISPLAY is empty)");
  }
}

GtkDisplay::~GtkDisplay() {
  StopWatchingUiFont();
  boxes_.clear();
  for (auto& [id, parts] : windows_) {
    if (parts->parentFixed == nullptr) {
      gtk_widget_destroy(parts->widget);
    }
  }
}

DisplayEvents* GtkDisplay::Sink() const { return sink_; }

GtkWidget* GtkDisplay::ChildWidget(NativeWindow window) {
  WindowParts* parts = Find(window);
  return parts != nullptr && parts->parentFixed != nullptr ? parts->widget : nullptr;
}

bool GtkDisplay::IsOwnClientPoint(const WindowParts& top, int x, int y) const {
  if (top.area == nullptr || x < 0 || y < 0 || x >= gtk_widget_get_allocated_width(top.area) ||
      y >= gtk_widget_get_allocated_height(top.area)) {
    return false;
  }
  for (const auto& [id, parts] : windows_) {
    const ScreenRect& r = parts->rect;
    if (parts->parentFixed == top.fixed && gtk_widget_get_visible(parts->widget) && r.left <= x && x < r.right &&
        r.top <= y && y < r.bottom) {
      return false;
    }
  }
  return true;
}

GtkDisplay::WindowParts* GtkDisplay::Find(NativeWindow window) {
  const auto it = windows_.find(window);
  return it != windows_.end() ? it->second.get() : nullptr;
}

ScreenRect GtkDisplay::WorkArea() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = display != nullptr ? gdk_display_get_primary_monitor(display) : nullptr;
  if (monitor == nullptr && display != nullptr) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  if (monitor == nullptr) {
    return {};
  }
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  return {area.x, area.y, area.x + area.width, area.y + area.height};
}

NativeWindow GtkDisplay::CreateTopLevel(void* owner, const std::string& titleUtf8, const Surface* backing) {
  if (!failure_.empty()) {
    return 0;
  }
  auto owned = std::make_unique<WindowParts>();
  WindowParts* parts = owned.get();
  parts->display = this;
  parts->owner = owner;
  parts->backing = backing;
  parts->widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(parts->widget);
  gtk_window_set_title(window, titleUtf8.c_str());
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_gravity(window, GDK_GRAVITY_STATIC);
  parts->fixed = gtk_fixed_new();
  parts->area = gtk_drawing_area_new();
  gtk_widget_set_size_request(parts->area, backing->Width(), backing->Height());
  gtk_widget_add_events(parts->area, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_ENTER_NOTIFY_MASK);
  gtk_fixed_put(GTK_FIXED(parts->fixed), parts->area, 0, 0);
  gtk_container_add(GTK_CONTAINER(parts->widget), parts->fixed);
  g_signal_connect(parts->area, "draw", G_CALLBACK(OnDraw), parts);
  g_signal_connect(parts->area, "motion-notify-event", G_CALLBACK(OnMotion), parts);
  g_signal_connect(parts->area, "enter-notify-event", G_CALLBACK(OnEnter), parts);
  g_signal_connect(parts->area, "button-press-event", G_CALLBACK(OnButtonPress), parts);
  g_signal_connect(parts->widget, "delete-event", G_CALLBACK(OnDeleteEvent), parts);
  const NativeWindow id = nextWindow_++;
  windows_.emplace(id, std::move(owned));
  return id;
}

NativeWindow GtkDisplay::CreateChild(NativeWindow parent, void* owner, ScreenRect rect) {
  WindowParts* top = Find(parent);
  if (top == nullptr || top->fixed == nullptr) {
    return 0;
  }
  auto owned = std::make_unique<WindowParts>();
  WindowParts* parts = owned.get();
  parts->display = this;
  parts->owner = owner;
  parts->parentFixed = top->fixed;
  parts->rect = rect;
  parts->widget = gtk_event_box_new();
  gtk_widget_set_app_paintable(parts->widget, TRUE);
  gtk_widget_set_size_request(parts->widget, rect.right - rect.left, rect.bottom - rect.top);
  gtk_widget_add_events(parts->widget, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK);
  g_signal_connect(parts->widget, "draw", G_CALLBACK(OnBlankDraw), nullptr);
  gtk_fixed_put(GTK_FIXED(top->fixed), parts->widget, rect.left, rect.top);
  const NativeWindow id = nextWindow_++;
  windows_.emplace(id, std::move(owned));
  return id;
}

void GtkDisplay::SetIcon(NativeWindow window, std::span<const std::uint8_t> png) {
  WindowParts* parts = Find(window);
  if (parts == nullptr || parts->parentFixed != nullptr) {
    return;
  }
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (loader == nullptr) {
    return;
  }
  if (gdk_pixbuf_loader_write(loader, png.data(), png.size(), nullptr) && gdk_pixbuf_loader_close(loader, nullptr)) {
    if (GdkPixbuf* icon = gdk_pixbuf_loader_get_pixbuf(loader)) {
      gtk_window_set_icon(GTK_WINDOW(parts->widget), icon);
    }
  } else {
    gdk_pixbuf_loader_close(loader, nullptr);
  }
  g_object_unref(loader);
}

void GtkDisplay::SetPlacement(NativeWindow window, ScreenRect rect) {
  WindowParts* parts = Find(window);
  if (parts == nullptr) {
    return;
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (parts->parentFixed != nullptr) {
    parts->rect = rect;
    gtk_widget_set_size_request(parts->widget, width, height);
    gtk_fixed_move(GTK_FIXED(parts->parentFixed), parts->widget, rect.left, rect.top);
    return;
  }
  gtk_widget_set_size_request(parts->area, width, height);
  gtk_window_resize(GTK_WINDOW(parts->widget), width, height);
  gtk_window_move(GTK_WINDOW(parts->widget), rect.left, rect.top);
}

void GtkDisplay::SetKeepAbove(NativeWindow window, bool above) {
  WindowParts* parts = Find(window);
  if (parts != nullptr && parts->parentFixed == nullptr) {
    gtk_window_set_keep_above(GTK_WINDOW(parts->widget), above ? TRUE : FALSE);
  }
}

void GtkDisplay::Show(NativeWindow window) {
  if (WindowParts* parts = Find(window)) {
    gtk_widget_show_all(parts->widget);
  }
}

void GtkDisplay::Present(NativeWindow window, ScreenRect dirty) {
  WindowParts* parts = Find(window);
  if (parts != nullptr && parts->area != nullptr) {
    gtk_widget_queue_draw_area(parts->area, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top);
  }
}

void GtkDisplay::Destroy(NativeWindow window) {
  WindowParts* parts = Find(window);
  if (parts == nullptr) {
    return;
  }
  gtk_widget_destroy(parts->widget);
  windows_.erase(window);
}

void GtkDisplay::WaitForEvents(int timeoutMs, FdWatch* watch) {
  if (watch != nullptr) {
    watch->ready = false;
  }
  if (!failure_.empty()) {
    if (watch != nullptr) {
      WaitForFd(*watch, timeoutMs);
    }
    return;
  }
  glib_.Wait(timeoutMs, watch);
}

void GtkDisplay::CloseBox::operator()(OpenBox* box) const {
  g_signal_handlers_disconnect_by_data(box->widget, box);
  if (!box->destroyed) {
    gtk_widget_destroy(box->widget);
  }
  g_object_unref(box->widget);
  delete box;
}

MessageBoxId GtkDisplay::OpenMessageBox(const MessageBoxRequest& request) {
  WindowParts* owner = Find(request.owner);
  GtkWindow* parent = owner != nullptr && owner->parentFixed == nullptr ? GTK_WINDOW(owner->widget) : nullptr;
  GtkWidget* widget = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      request.stopIcon ? GTK_MESSAGE_ERROR : GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", request.text.c_str());
  std::unique_ptr<OpenBox, CloseBox> box(new OpenBox{GTK_WIDGET(g_object_ref(widget))});
  if (request.stopIcon) {
    AddStopIcon(widget);
  }
  gtk_window_set_title(GTK_WINDOW(widget), request.caption.c_str());
  gtk_window_set_position(GTK_WINDOW(widget), parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  g_signal_connect(widget, "response", G_CALLBACK(OnBoxResponse), nullptr);
  g_signal_connect(widget, "delete-event", G_CALLBACK(OnBoxDeleteEvent), nullptr);
  g_signal_connect(widget, "destroy", G_CALLBACK(OnBoxDestroyed), box.get());
  gtk_widget_show_all(widget);
  const MessageBoxId id = nextBox_++;
  boxes_.emplace(id, std::move(box));
  return id;
}

bool GtkDisplay::IsMessageBoxOpen(MessageBoxId box) {
  const auto it = boxes_.find(box);
  if (it == boxes_.end()) {
    return false;
  }
  if (!it->second->destroyed && gtk_widget_get_visible(it->second->widget)) {
    return true;
  }
  boxes_.erase(it);
  // The web view leaves part of what the box uncovered unpainted (white);
  // drawing the windows again in full brings the page back.
  for (auto& [id, parts] : windows_) {
    if (parts->parentFixed == nullptr) {
      gtk_widget_queue_draw(parts->widget);
    }
  }
  return false;
}

void GtkDisplay::CloseMessageBox(MessageBoxId box) { boxes_.erase(box); }

}  // namespace platform
