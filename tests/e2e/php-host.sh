#!/usr/bin/env bash
# The real launcher's online update under Xvfb against Debian's nginx with
# php-fpm on 127.0.0.1:80, the way a maker most commonly serves its two
# update scripts: the version and the download site come from PHP scripts,
# which nginx sends chunked; the news page and the patch are static files of
# the demo host. The patch downloads with the progress line showing, starts,
# raises the installed version, and the launcher ends with status 0. Started
# again, the launcher shows the new version, and its version line follows
# the registry file when it is replaced while the launcher runs.
# nginx and php-fpm run with configuration files of their own in a scratch
# folder, never as the system's services. Runs inside a private network
# namespace (tests/netns-run.sh --online).
# Usage: php-host.sh LAUNCHER BITMAP-DIR DEMO-DIR VERSION-LINE-REFERENCE SHOTS-FOLDER
set -euo pipefail
launcher=$1
bitmaps=$2
demo=$3
reference=$4
shots=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
launcher_pid=""

readonly VERSION_PATH=/latest_version/mrv/2.0.x.x.x/version.php
readonly SITE_PATH=/latest_version/mrv/2.0.x.x.x/download_sites.php
readonly PATCH_URL=http://127.0.0.1/patch/MRVPatch.exe

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "launcher said:" >&2; cat "$work/stderr" >&2; }
  for log in "$work/nginx/error.log" "$work/php/error.log"; do
    [ -s "$log" ] && { echo "$log:" >&2; cat "$log" >&2; }
  done
  [ -f "$work/nginx/access.log" ] && { echo "requests:" >&2; cat "$work/nginx/access.log" >&2; }
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$shots/failure.png" && echo "last screenshot: $shots/failure.png" >&2
  exit 1
}

# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

# The window is centred on the 1024x768 screen, at (192,144).
readonly X0=192 Y0=144
screenshot() { import -window root "$work/shot.png"; }
shot_shows_picture() {  # shot_shows_picture PICTURE-FILE CLIENT-X CLIENT-Y
  /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$1" $((X0 + $2)) $((Y0 + $3))
}
shot_shows_faces() {  # shot_shows_faces PICTURE-ID... for the buttons from the left
  local x=5
  for id in "$@"; do
    shot_shows_picture "$bitmaps/$id.bmp" $x 446 || return 1
    x=$((x + 90))
  done
}
shows_version() { screenshot && shot_shows_picture "$work/version-$1.ppm" 7 430; }
# The news page's header band, right of its title, is one plain colour.
shows_news() {
  screenshot && /usr/bin/python3 "$here/panel-shows.py" "$work/shot.png" $((X0 + 7 + 400)) $((Y0 + 86 + 4)) 200 30 only-2c1d10
}
shows_progress() {
  screenshot && /usr/bin/python3 "$here/progress-line-shows.py" "$work/shot.png" "$work/progress" $((X0 + 480)) $((Y0 + 430))
}
press() {  # press BUTTON-ID
  xdotool mousemove $((X0 + 5 + 90 * ($1 - 1) + 44)) $((Y0 + 461)) click 1
}
start_launcher() {
  xdotool mousemove 0 0
  (cd "$game" && exec "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}
asked() {  # asked METHOD-PATH-VERSION: a request line nginx logged
  grep -qF "\"$1\"" "$work/nginx/access.log"
}

# The host: a copy of the demo host whose two update replies are PHP scripts.
mkdir -p "$work/nginx/temp" "$work/php" "$shots"
rm -f "$shots"/*.png
cp -r "$demo/www" "$work/www"
printf '<?php echo "MRVVERSION2.0.1.0.4";\n' >"$work/www$VERSION_PATH"
printf '<?php echo "MRVDOWNLOADSITEKEY=%s\\n";\n' "$PATCH_URL" >"$work/www$SITE_PATH"

cat >"$work/php/php-fpm.conf" <<CONF
[global]
pid = $work/php/php-fpm.pid
error_log = $work/php/error.log
daemonize = no

[host]
user = root
group = root
listen = $work/php/php-fpm.sock
listen.mode = 0600
pm = static
pm.max_children = 1
CONF

cat >"$work/nginx/nginx.conf" <<CONF
user root root;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
  access_log $work/nginx/access.log;
  client_body_temp_path $work/nginx/temp/body;
  proxy_temp_path $work/nginx/temp/proxy;
  fastcgi_temp_path $work/nginx/temp/fastcgi;
  uwsgi_temp_path $work/nginx/temp/uwsgi;
  scgi_temp_path $work/nginx/temp/scgi;
  types {
    text/html htm html;
    application/octet-stream exe;
  }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:80;
    root $work/www;
    index index.html index.htm;
    location ~ ^/latest_version/.*\.php\$ {
      fastcgi_pass unix:$work/php/php-fpm.sock;
      fastcgi_param SCRIPT_FILENAME \$document_root\$fastcgi_script_name;
      fastcgi_param REQUEST_METHOD \$request_method;
      fastcgi_param QUERY_STRING \$query_string;
      fastcgi_param SERVER_PROTOCOL \$server_protocol;
    }
  }
}
CONF

php-fpm8.2 -F -R -n -y "$work/php/php-fpm.conf" 2>>"$work/php/error.log" &
pids+=($!)
wait_for 20 test -S "$work/php/php-fpm.sock" || fail "php-fpm did not start"
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' 2>>"$work/nginx/error.log" &
pids+=($!)
wait_for 20 curl -sf -o /dev/null "http://127.0.0.1/MRV/loader/SP/index.htm" || fail "nginx does not answer"
[ "$(curl -sf "http://127.0.0.1$VERSION_PATH")" = MRVVERSION2.0.1.0.4 ] || fail "the version script does not run"
# Without chunked replies this test would prove nothing new.
curl -sfi "http://127.0.0.1$SITE_PATH" | grep -qi '^transfer-encoding: *chunked' ||
  fail "nginx did not send the site reply chunked"

cp -r "$demo/prefix" "$work/prefix"
cp -r "$demo/game" "$work/game"
game="$work/game"
export WINEPREFIX="$work/prefix" MORAVINE_WEB_HOST=127.0.0.1
# The desktop's applications and settings stay inside the scratch folder.
mkdir -p "$work/home"
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" XDG_CONFIG_HOME="$work/home/config"
export XDG_DATA_HOME="$work/home/data" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

start_xvfb "$work" || fail "Xvfb did not start"
pids+=("$xvfb_pid")
"$reference" "$work/version-2.0.1.0.3.ppm" 2.0.1.0.3 || fail "no reference picture of the version line"
"$reference" "$work/version-2.0.1.0.4.ppm" 2.0.1.0.4 || fail "no reference picture of the version line"
mkdir "$work/progress"
"$reference" --progress "$work/progress" || fail "no reference pictures of the progress line"

echo "update: both queries answered by PHP, the patch downloads with the progress line showing"
start_launcher
wait_for 30 shows_news || fail "no news page"
wait_for 10 shows_version 2.0.1.0.3 || fail "no version line 版本：2.0.1.0.3"
press 2
wait_for 30 shows_progress || fail "no progress line during the download"
shot_shows_faces 54 57 || fail "play and update are not disabled during the download"
cp "$work/shot.png" "$shots/download.png"
echo "update: the patch starts and the launcher ends"
expect_exit 0 120
wait_for 20 grep -q '"GameVerSP"="2.0.1.0.4"' "$WINEPREFIX/system.reg" || fail "the patch did not raise the version"
cmp -s "$game/MRVPatch.exe" "$demo/www/patch/MRVPatch.exe" || fail "MRVPatch.exe differs from the demo patch"
asked "GET $VERSION_PATH HTTP/1.1" || fail "the version script was not asked"
asked "GET $SITE_PATH HTTP/1.1" || fail "the site script was not asked"
asked "GET /patch/MRVPatch.exe HTTP/1.0" || fail "the patch was not asked for by its own address"

echo "registry: the version line follows system.reg replaced while the launcher runs"
start_launcher
wait_for 30 shows_version 2.0.1.0.4 || fail "no version line 版本：2.0.1.0.4"
cp "$demo/prefix/system.reg" "$WINEPREFIX/system.reg.new"
mv "$WINEPREFIX/system.reg.new" "$WINEPREFIX/system.reg"
wait_for 10 shows_version 2.0.1.0.3 || fail "the version line did not follow the registry back to 2.0.1.0.3"
cp "$work/shot.png" "$shots/registry-replaced.png"
press 7
expect_exit 0 20

[ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"
echo "all checks passed; screenshots in $shots"
