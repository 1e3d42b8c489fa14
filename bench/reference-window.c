/* The reference the launcher's start-up and memory are measured against: a
 * minimal GTK program with the launcher's window (640x480, undecorated,
 * centred, the background picture drawn in the window) and a WebKitWebView
 * at the web panel's place and size, in a web context set up as the
 * launcher's (no data on disk, document-viewer cache, one web process). The
 * view loads the page at URI, the launcher's start page.
 *
 *   reference-window BACKGROUND.bmp URI
 *
 * Runs until its window is closed or it is killed. */
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

static gboolean draw_background(GtkWidget* widget, cairo_t* cr, gpointer picture) {
  (void)widget;
  gdk_cairo_set_source_pixbuf(cr, GDK_PIXBUF(picture), 0, 0);
  cairo_paint(cr);
  return FALSE;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    g_printerr("usage: reference-window BACKGROUND.bmp URI\n");
    return 2;
  }
  gtk_init(&argc, &argv);
  GError* error = NULL;
  GdkPixbuf* picture = gdk_pixbuf_new_from_file(argv[1], &error);
  if (picture == NULL) {
    g_printerr("reference-window: %s\n", error->message);
    return 1;
  }

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Reference");
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_default_size(GTK_WINDOW(window), 640, 480);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);

  GtkWidget* fixed = gtk_fixed_new();
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, 640, 480);
  g_signal_connect(area, "draw", G_CALLBACK(draw_background), picture);
  gtk_fixed_put(GTK_FIXED(fixed), area, 0, 0);

  WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
  WebKitWebContext* context =
      WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                      "process-swap-on-cross-site-navigation-enabled", FALSE, NULL));
  g_object_unref(data);
  webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  GtkWidget* view = webkit_web_view_new_with_context(context);
  gtk_widget_set_size_request(view, 625, 341);
  gtk_fixed_put(GTK_FIXED(fixed), view, 7, 86);
  gtk_container_add(GTK_CONTAINER(window), fixed);

  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[2]);

  gtk_widget_show_all(window);
  gtk_main();
  g_object_unref(context);
  g_object_unref(picture);
  return 0;
}
