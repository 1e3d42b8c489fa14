/* Starts a program and tells how long it takes until the screen shows a
 * picture: the time from the start to the first complete paint of a window.
 *
 *   paint-probe X Y EXPECTED.ppm MASK.pgm PROGRAM [ARGUMENT...]
 *
 * Starts PROGRAM, then reads the root window's rectangle at (X,Y) of the
 * picture's size every 2 ms until every pixel where the mask is not 0 equals
 * the picture. The program's output goes to the probe's standard error. Prints the milliseconds from the start and the
 * program's process id, and leaves the program running. Exits 1 when the picture does not show within 30 s or the
 * program ends first (the program is then ended). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

struct picture {
  int width, height, channels;
  unsigned char* pixels;
};

static int read_netpbm(const char* path, const char* magic, int channels, struct picture* out) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return 0;
  char kind[3] = {0};
  int maxval = 0;
  int ok = fscanf(file, "%2s %d %d %d", kind, &out->width, &out->height, &maxval) == 4 && strcmp(kind, magic) == 0 &&
           maxval == 255 && fgetc(file) != EOF;
  if (ok) {
    size_t size = (size_t)out->width * (size_t)out->height * (size_t)channels;
    out->channels = channels;
    out->pixels = malloc(size);
    ok = out->pixels != NULL && fread(out->pixels, 1, size, file) == size;
  }
  fclose(file);
  return ok;
}

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* True when the screen's rectangle shows the picture wherever the mask is set. */
static int shows(Display* display, int x, int y, const struct picture* expected, const struct picture* mask) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, (unsigned)expected->width,
                            (unsigned)expected->height, AllPlanes, ZPixmap);
  if (image == NULL) return 0;
  int same = 1;
  for (int row = 0; row < expected->height && same; ++row) {
    for (int column = 0; column < expected->width; ++column) {
      size_t at = (size_t)row * (size_t)expected->width + (size_t)column;
      if (mask->pixels[at] == 0) continue;
      unsigned long pixel = XGetPixel(image, column, row);
      const unsigned char* want = expected->pixels + 3 * at;
      if (((pixel >> 16) & 0xff) != want[0] || ((pixel >> 8) & 0xff) != want[1] || (pixel & 0xff) != want[2]) {
        same = 0;
        break;
      }
    }
  }
  XDestroyImage(image);
  return same;
}

int main(int argc, char** argv) {
  if (argc < 6) {
    fprintf(stderr, "usage: paint-probe X Y EXPECTED.ppm MASK.pgm PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const int x = atoi(argv[1]);
  const int y = atoi(argv[2]);
  struct picture expected, mask;
  if (!read_netpbm(argv[3], "P6", 3, &expected) || !read_netpbm(argv[4], "P5", 1, &mask) ||
      mask.width != expected.width || mask.height != expected.height) {
    fprintf(stderr, "paint-probe: cannot read the picture %s and its mask %s\n", argv[3], argv[4]);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "paint-probe: no display\n");
    return 2;
  }

  const double start = now_ms();
  const pid_t child = fork();
  if (child < 0) {
    perror("paint-probe: fork");
    return 2;
  }
  if (child == 0) {
    /* The program outlives the probe: it must not hold the probe's output open. */
    dup2(STDERR_FILENO, STDOUT_FILENO);
    execvp(argv[5], argv + 5);
    perror("paint-probe: exec");
    _exit(127);
  }
  const struct timespec pause = {0, 2000000};
  while (now_ms() - start < 30000) {
    if (shows(display, x, y, &expected, &mask)) {
      printf("%.1f %d\n", now_ms() - start, (int)child);
      return 0;
    }
    if (waitpid(child, NULL, WNOHANG) == child) {
      fprintf(stderr, "paint-probe: %s ended before its window showed\n", argv[5]);
      return 1;
    }
    nanosleep(&pause, NULL);
  }
  fprintf(stderr, "paint-probe: %s did not show the picture within 30 s\n", argv[5]);
  kill(child, SIGTERM);
  return 1;
}
