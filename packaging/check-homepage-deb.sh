# Sourced by check-deb.sh once the game's package passed its checks: the home
# page's package, its program, systemd unit and options file, the maintainer
# scripts that enable, stop and forget the service, the packages it pulls in
# (Qt's SQL drivers, no Gui), and that systemd finds nothing wrong with the
# unit.

unpack 'suiranjuku-homepage_*.deb'
unit=usr/lib/systemd/system/suiranjuku-homepage.service
for file in "$unit" etc/default/suiranjuku-homepage \
    usr/share/doc/suiranjuku-homepage/LICENSE usr/share/doc/suiranjuku-homepage/LICENSE-artwork; do
  expect_file "$file"
done
expect_program usr/bin/suiranjuku-homepage

# The options file is the administrator's: kept over upgrades.
control="$scratch/homepage-control"
dpkg-deb -e "$deb" "$control"
grep -qx /etc/default/suiranjuku-homepage "$control/conffiles" || fail "/etc/default/suiranjuku-homepage is no conffile"
for script in postinst prerm postrm; do
  [ -x "$control/$script" ] || fail "no $script"
  sh -n "$control/$script" || fail "$script does not parse"
done
grep -q 'deb-systemd-helper enable' "$control/postinst" || fail "postinst does not enable the service"
grep -q 'deb-systemd-invoke stop' "$control/prerm" || fail "prerm does not stop the service"
grep -q 'deb-systemd-helper purge' "$control/postrm" || fail "postrm does not forget the service on purge"

# The unit: the program it starts, its state folder, and the hardening.
grep -qx 'ExecStart=/usr/bin/suiranjuku-homepage --listen ${LISTEN} --database ${DATABASE} $OPTIONS' "$root/$unit" ||
  fail "the unit starts something else"
for setting in DynamicUser=yes StateDirectory=suiranjuku-homepage ProtectSystem=strict NoNewPrivileges=yes \
    EnvironmentFile=-/etc/default/suiranjuku-homepage Type=notify 'ExecReload=/bin/kill -HUP $MAINPID'; do
  grep -qx "$setting" "$root/$unit" || fail "the unit lacks $setting"
done
grep -qx 'DATABASE=sqlite:/var/lib/suiranjuku-homepage/results.sqlite' "$root/etc/default/suiranjuku-homepage" ||
  fail "the default database is not in the service's state folder"

# systemd's own reading of the unit, against the targets of this machine
# and its kill, which the unit's ExecReload runs.
if command -v systemd-analyze >/dev/null 2>&1 && [ -d /lib/systemd/system ]; then
  # Beside the package's unit, under /usr: systemd 255 and later look
  # nowhere else.
  mkdir -p "$root/usr/lib/systemd/system" "$root/bin"
  find /lib/systemd/system/ -maxdepth 1 -name '*.target' -exec cp -L {} "$root/usr/lib/systemd/system/" \;
  cp -L /bin/kill "$root/bin/"
  said=$(systemd-analyze verify --root="$root" "/$unit" 2>&1) || fail "systemd-analyze verify: $said"
  [ -z "$said" ] || fail "systemd-analyze verify says: $said"
fi

expect_depends libqt6sql6-sqlite libqt6sql6-psql libqt6network6 libqt6sql6 libsystemd0
refuse_depends libqt6gui6 libqt6widgets6 suiranjuku libqt6httpserver6
