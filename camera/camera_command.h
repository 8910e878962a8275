// The 32-bit command word sent to the camera, and its sequence counter.
// Platform-free.
#ifndef MORVANE_CAMERA_CAMERA_COMMAND_H
#define MORVANE_CAMERA_CAMERA_COMMAND_H

typedef unsigned int CameraCommand;

// Bytes in transmission order: sequence * 16, code, sequence * 16 + class, 0.
// The class is ORed over the upper copy of the sequence number; the code is
// cut to its low 8 bits.
CameraCommand PackCameraCommand(unsigned sequence, unsigned commandClass, unsigned commandCode);

// Prepares the next command to send. Class 0 is never sent: the answer is
// false and the counter stays. Otherwise the counter advances (1..15, then 0)
// and word receives the packed command.
bool NextCameraCommand(unsigned* sequence, unsigned commandClass, unsigned commandCode,
                       CameraCommand* word);

// The capability word (property 20) says the camera is controllable: bit 13.
bool IsCameraControllable(unsigned capabilityWord);

#endif
