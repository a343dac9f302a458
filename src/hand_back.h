// Handing the aircraft back to the flight model. While the flight path is held the simulator
// neither uses nor updates its quaternion, and when it lets go it carries on from that quaternion
// and the velocity: both must describe the aircraft as it now stands.
#ifndef TROVIK_HAND_BACK_H
#define TROVIK_HAND_BACK_H

// When slew mode takes the aircraft: its velocity over the ground and its attitude then.
void RememberFlight();

// Just before letting go: the quaternion from the attitude the aircraft now has; at rest on the
// ground, or in the air with the velocity it had, turned with it, and more than 30 m up at least
// 1.3 times its stall speed along its nose; no rotation rates (in degrees or radians) and no
// accelerations.
void HandBackFlight();

#endif  // TROVIK_HAND_BACK_H
