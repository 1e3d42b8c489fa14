#!/usr/bin/env bash
# The real launcher's online update against Debian's nginx with php-fpm on
# 127.0.0.1:80, the way a maker most commonly serves its two update scripts:
# nginx sends their replies chunked; the news page and the patch are static
# files of the demo host. The update runs as on the demo host (lib.sh), and
# started again, the launcher's version line follows the registry file when
# it is replaced while the launcher runs. nginx and php-fpm run with
# configuration files of their own, never as the system's services.
# Usage: php-host.sh LAUNCHER TOOLS-FOLDER SHOTS-FOLDER
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
readonly PATCH_URL=http://127.0.0.1/patch/MRVPatch.exe

on_failure() {
  for log in "$work/nginx/error.log" "$work/php/error.log" "$work/nginx/access.log"; do
    [ -s "$log" ] && { echo "$log:" >&2; cat "$log" >&2; }
  done
}
asked() { grep -qF "\"$1\"" "$work/nginx/access.log"; }  # a request line nginx logged

# The host: a copy of the demo host whose two update replies are PHP scripts.
mkdir -p "$work/nginx/temp" "$work/php"
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
  types { text/html htm html; }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:80;
    root $work/www;
    location ~ ^/latest_version/.*\.php\$ {
      fastcgi_pass unix:$work/php/php-fpm.sock;
      fastcgi_param SCRIPT_FILENAME \$document_root\$fastcgi_script_name;
      fastcgi_param REQUEST_METHOD \$request_method;
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
# Without chunked replies this test would prove nothing new.
curl -sfi "http://127.0.0.1$SITE_PATH" | grep -qi '^transfer-encoding: *chunked' ||
  fail "nginx did not send the site reply chunked"

update_downloads
asked "GET $VERSION_PATH HTTP/1.1" || fail "the version script was not asked"
asked "GET $SITE_PATH HTTP/1.1" || fail "the site script was not asked"
asked "GET /patch/MRVPatch.exe HTTP/1.0" || fail "the patch was not asked for by its own address"

echo "registry: the version line follows system.reg replaced while the launcher runs"
start_launcher
wait_for 30 shows_version 2.0.1.0.4 || fail "no version line 版本：2.0.1.0.4"
cp "$demo/prefix/system.reg" "$WINEPREFIX/system.reg.new"
mv "$WINEPREFIX/system.reg.new" "$WINEPREFIX/system.reg"
wait_for 10 shows_version 2.0.1.0.3 || fail "the version line did not follow the registry back to 2.0.1.0.3"
leave
quiet
echo "all checks against nginx with php-fpm passed"
