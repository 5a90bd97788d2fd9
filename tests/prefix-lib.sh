# Shared by the test scripts and scripts/run.sh: a private Wine prefix and a private Xvfb display.

# new_prefix TEMPLATE PREFIX: copies the template; the DLL folders are hard-linked,
# since nothing rewrites those files in place.
new_prefix() {
  local template prefix
  template=$(realpath -m "$1")
  prefix=$(realpath -m "$2")
  rm -rf "$prefix"
  mkdir -p "$prefix"
  (cd "$template" && find . -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$prefix"/ \;)
  mkdir -p "$prefix/drive_c"
  (cd "$template/drive_c" && find . -mindepth 1 -maxdepth 1 ! -name windows -exec cp -a {} "$prefix/drive_c"/ \;)
  mkdir -p "$prefix/drive_c/windows"
  (cd "$template/drive_c/windows" && for f in * .[!.]*; do
     [ -e "$f" ] || continue
     case "$f" in
       system32|syswow64) cp -al "$f" "$prefix/drive_c/windows/" ;;
       *) cp -a "$f" "$prefix/drive_c/windows/" ;;
     esac
   done)
  export WINEPREFIX=$prefix WINEDEBUG=-all
}

# start_display: starts an Xvfb that picks its own free display; sets DISPLAY and XVFB_PID.
start_display() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  # Up to half a minute: a machine busy with other test programs can be slow to start it.
  for _ in $(seq 1 600); do
    [ -s "$fdfile" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  DISPLAY=":$(tr -d '[:space:]' < "$fdfile")"
  rm -f "$fdfile"
  export DISPLAY XVFB_PID
  kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb did not start" >&2; return 1; }
  [ "$DISPLAY" != ":" ] || { echo "Xvfb did not say its display" >&2; return 1; }
}

stop_all() {
  wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
