# shellcheck shell=bash disable=SC2034 # tmp is set for the caller
# Helpers shared by the package tests (sourced, not run).
# A test exits 77 when a tool it needs is missing; CTest counts that as skipped.

skip() {
    echo "SKIP: $*"
    exit 77
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# need TOOL...: skips the test unless every tool is on PATH.
need() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null 2>&1 || skip "$t not found (tools/install-deps.sh installs it)"
    done
}

# new_tmp: a fresh folder in $tmp, removed when the test ends, so that tests
# running in parallel never share files.
new_tmp() {
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/orv-pkg.XXXXXX")
    trap 'rm -rf "$tmp"' EXIT
}

# deb_of DEBS PACKAGE: the file of PACKAGE made by debs_test.sh in DEBS
# (DEBS/cpack/PACKAGE_VERSION_ARCH.deb); fails when there is none.
deb_of() {
    local found=("$1"/cpack/"$2"_*.deb)
    [ -f "${found[0]}" ] || fail "no package $2 in $1/cpack (did Package.Build run?)"
    echo "${found[0]}"
}

# noop_cls: a folder holding a `cls` that does nothing, to put first on PATH,
# so that the screen clear at start writes nothing.
noop_cls() {
    mkdir -p "$tmp/bin"
    printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/cls"
    chmod +x "$tmp/bin/cls"
    echo "$tmp/bin"
}

# Sessions for the launcher: an exit, a calculation, the help pages, and
# end of input at the menu (status 2, a report on standard error).
sessions=($'x\n' $'i\n\n\n\n\n\n\n\nx\n' $'h\n\nx\n' '')

# run_in OUT DIR INPUT CMD...: runs CMD in DIR with INPUT on a pipe; standard
# output, standard error and exit status go to OUT.out, OUT.err and OUT.rc.
run_in() {
    local out=$1 dir=$2 input=$3 rc=0
    shift 3
    printf '%s' "$input" | (cd "$dir" && exec "$@") >"$out.out" 2>"$out.err" || rc=$?
    echo "$rc" >"$out.rc"
}

# check_tree ROOT BUILD_DIR: the installed tree under ROOT (a prefix below
# DESTDIR, or usr/ of the unpacked package) holds the launcher in bin/ and
# the program and `cls` in libexec/orvalis2d/; `cls` writes nothing to a
# pipe or a file and nothing to standard error; the launcher, called in
# every way below, behaves byte for byte as the build's program.
check_tree() {
    local root=$1 build=$2 priv=$1/libexec/orvalis2d t i s
    head -n 1 "$root/bin/orvalis2d" | grep -qx '#!/bin/sh' || fail "bin/orvalis2d is no shell launcher"
    [ -x "$priv/orvalis2d" ] || fail "libexec/orvalis2d/orvalis2d missing or not executable"
    cmp -s -n 4 "$priv/orvalis2d" <(printf '\177ELF') || fail "libexec/orvalis2d/orvalis2d is no ELF program"
    [ -x "$priv/cls" ] || fail "libexec/orvalis2d/cls missing or not executable"
    [ ! -e "$root/bin/cls" ] || fail "cls installed in bin/"

    for t in -uTERM TERM=xterm TERM=dumb; do
        env "$t" "$priv/cls" 2>"$tmp/cls.err" | cat >"$tmp/cls.pipe" || fail "cls ($t) failed on a pipe"
        env "$t" "$priv/cls" >"$tmp/cls.file" 2>>"$tmp/cls.err" || fail "cls ($t) failed on a file"
        if [ -s "$tmp/cls.pipe" ] || [ -s "$tmp/cls.file" ] || [ -s "$tmp/cls.err" ]; then
            fail "cls ($t) wrote to a pipe, a file or standard error"
        fi
    done

    # The launcher by absolute path, by relative path from another folder,
    # through absolute and relative symbolic links, through a chain of
    # links, and by name on PATH: "folder|command".
    mkdir -p "$tmp/links"
    ln -s "$root/bin/orvalis2d" "$tmp/links/abs"
    ln -s "$(realpath --relative-to="$tmp/links" "$root/bin/orvalis2d")" "$tmp/links/orvalis2d"
    ln -s abs "$tmp/links/chain"
    local calls=("/|$root/bin/orvalis2d" "$root/share|../bin/orvalis2d" "$tmp|links/abs"
        "$tmp/links|./orvalis2d" "$root|$tmp/links/chain" "/|orvalis2d")
    local ref_path
    ref_path="$(noop_cls):$PATH"
    for i in "${!sessions[@]}"; do
        s=${sessions[$i]}
        PATH=$ref_path run_in "$tmp/want" / "$s" "$build/orvalis2d"
        for t in "${calls[@]}"; do
            PATH="$tmp/links:$PATH" run_in "$tmp/got" "${t%%|*}" "$s" "${t#*|}"
            for f in out err rc; do # standard output, standard error, exit status
                cmp -s "$tmp/want.$f" "$tmp/got.$f" ||
                    fail "launcher as '${t#*|}' in ${t%%|*}, session $i: .$f differs from $build/orvalis2d:"$'\n'"$(diff "$tmp/want.$f" "$tmp/got.$f" | head -5)"
            done
        done
    done
}
