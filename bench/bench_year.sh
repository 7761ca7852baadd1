# Sourced by the benchmarks on one year file: bench_year NAME NOW [BOOKINGS] builds kxcli and the
# measuring tools, makes a year 2024 of BOOKINGS bookings (default 1,000,000) in
# build/bench-NAME/BOOKINGS and sets top, runs, bookings, bin, dir and kx (kxcli on that folder,
# its clock at NOW).
bench_year() {
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    runs=${KX_BENCH_RUNS:-7}
    bookings=${3:-1000000}
    "$top/scripts/build.sh" native kxcli make_journal run_measured
    bin="$top/build/native/bin"
    dir="$top/build/bench-$1/$bookings"
    mkdir -p "$dir"
    "$bin/make_journal" 2024 "$bookings" "$dir/2024.txt" "$dir/2024.timeclock"
    kx=("$bin/kxcli" --ini "$dir/none.ini" --workdir "$dir" --commondir "$dir" --now "$2")
}
