# Sourced by ./play and ./test: installs the Debian packages the build needs,
# asking apt only for what dpkg says is missing.
lumia_need() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

LUMIA_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config
    libsdl2-dev libsdl2-mixer-dev libfreetype-dev libpng-dev zlib1g-dev
    libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
    fonts-arphic-uming fonts-arphic-ukai)
LUMIA_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev)
