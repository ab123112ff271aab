# A GPX track of 70,000 points a second apart (written to GPX=FILE) heading north-east and
# climbing, and its places as CSV rows (time, latitude, longitude, altitude) on the output.
BEGIN {
    print "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>" > GPX
    print "time,latitude,longitude,altitude"
    for (i = 0; i < 70000; i++) {
        time = sprintf("2024-06-01T%02d:%02d:%02dZ", int(i / 3600), int(i / 60) % 60, i % 60)
        latitude = sprintf("%.8f", 46 + i * 0.00001)
        longitude = sprintf("%.8f", 7 + i * 0.00002)
        altitude = sprintf("%.3f", 500 + i * 0.01)
        printf "<trkpt lat=\"%s\" lon=\"%s\"><ele>%s</ele><time>%s</time></trkpt>\n", latitude, longitude, altitude, time > GPX
        print time "," latitude "," longitude "," altitude
    }
    print "</trkseg></trk></gpx>" > GPX
}
