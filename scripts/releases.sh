# shellcheck shell=bash disable=SC2034 # what it sets is for the scripts that source it
# The Debian releases we build and test on, and where their systems are kept;
# sourced by scripts/debian.sh and scripts/package.sh, so a new release is one
# more line here.
#   PHONE_FORTUNE_SYSTEMS   where the systems are kept (default /var/cache/phone-fortune)
#   DEBIAN_MIRROR           the archive (default http://deb.debian.org/debian)

# Number, suite, the debootstrap script that makes it (Debian 12's debootstrap
# has none named forky; sid's makes any suite after trixie), and whether it is
# released (stable) or still testing.
releases=(
  "12 bookworm bookworm stable"
  "13 trixie trixie stable"
  "14 forky sid testing"
)
systems=${PHONE_FORTUNE_SYSTEMS:-/var/cache/phone-fortune}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
# A kept system older than this is made anew, so that it has the archive's
# updates.
max_age_days=7

# release NUMBER: sets suite, maker and served from its line; fails for a
# release not in the table.
release() {
  local number name script kind
  suite='' maker='' served=''
  for line in "${releases[@]}"; do
    read -r number name script kind <<<"$line"
    [ "$number" = "$1" ] && suite=$name maker=$script served=$kind
  done
  [ -n "$suite" ]
}
# The numbers, for a usage message.
release_numbers() { printf '%s\n' "${releases[@]}" | cut -d' ' -f1 | paste -sd' '; }
