#include "cameras/AircraftPose.h"

#include "host/FSinterface.h"

AircraftPose AircraftPose::of(uint32_t id) {
    double lla[3];
    float pbh[3];
    FSinterface::getLLAPBH(id, lla, pbh);
    return {{lla[0], lla[1], lla[2]}, {pbh[0], pbh[1], pbh[2]}};
}

Geometry::WorldPosition AircraftPose::pointAt(const float offset[3]) const {
    const Geometry::Vec3 local =
        Geometry::multiply(Geometry::rotation(attitude), Geometry::Vec3{offset[0], offset[1], offset[2]});
    return Geometry::offsetToPosition(position, local.x, local.y, local.z);
}
