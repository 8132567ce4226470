# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build needs, only when one of them is missing.
OLP_PACKAGES="cmake ninja-build g++ pkg-config qtbase5-dev qtbase5-dev-tools libqt5svg5-dev
libusb-1.0-0-dev liblcms2-dev libxml2-utils clang-format libbenchmark-dev fonts-dejavu-core fonts-dseg
libxcb1-dev dbus openssl"
# A virtual display for the tests that need X and for looking at the windows.
OLP_PACKAGES="$OLP_PACKAGES xvfb xauth"
# The staged install's checks, the Debian package and the desktop acceptance test.
OLP_PACKAGES="$OLP_PACKAGES desktop-file-utils appstream dpkg-dev file x11-utils xdotool wmctrl openbox imagemagick bc"

olp_install_deps() {
    local missing=""
    for p in $OLP_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
    fi
}
