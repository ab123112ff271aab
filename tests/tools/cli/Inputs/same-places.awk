# Compares the rows of two CSV files (the first given as A=FILE) whose last four columns are time,
# latitude, longitude and altitude: the same times and the same columns before them (a track
# number, say), each place within 0.1 m and each height within 0.01 m. Prints the rows compared
# and the largest distance in metres, or the first row that differs more.
BEGIN { FS = ","; metresPerDegree = 6371000 * 3.14159265358979 / 180 }
{
    if ((getline other < A) <= 0) { print "A ends before row " NR; failed = 1; exit 1 }
    if (NR == 1) next
    n = split(other, a, ",")
    same = n == NF
    for (i = 1; i <= NF - 3; i++) if ($i != a[i]) same = 0
    north = ($(NF - 2) - a[n - 2]) * metresPerDegree
    east = ($(NF - 1) - a[n - 1]) * metresPerDegree * cos($(NF - 2) * 3.14159265358979 / 180)
    distance = sqrt(north * north + east * east)
    if (distance > largest) largest = distance
    height = $NF - a[n]; if (height < 0) height = -height
    if (!same || distance > 0.1 || height > 0.01) { print "row " NR " differs: " $0 " / " other; failed = 1; exit 1 }
    rows++
}
END {
    if (!failed && (getline other < A) > 0) { print "A has more rows"; exit 1 }
    if (!failed) printf "%d rows, places within %.3f m\n", rows, largest
}
