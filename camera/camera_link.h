// camera/: the camera's own channel, its commands and status, the rules of deck and attachment.
//
// The channel to the camera's own functions: commands and the status block,
// through the vendor property set of its video capture filter. The filter is
// lent by the caller for each call; the link holds no interface between calls.
#ifndef MORVANE_CAMERA_CAMERA_LINK_H
#define MORVANE_CAMERA_CAMERA_LINK_H

#include <unknwn.h>

#include "camera/camera_command.h"
#include "camera/camera_status.h"

class CameraLink {
  public:
    CameraLink();

    // 1 when the camera can be controlled through the property set, else 0.
    static int QueryCapability(IUnknown* filter);
    // 0 when the camera accepted the command, 1 otherwise.
    int SendCommand(IUnknown* filter, unsigned commandClass, unsigned commandCode);
    // 0 when a status block was read and decoded, 1 otherwise; on failure the
    // decoded status keeps its earlier values.
    int ReadStatus(IUnknown* filter);

    const CameraStatus& GetStatus() const { return status; }
    unsigned GetTransportAvailable() const { return status.transportAvailable; }

  private:
    unsigned sequence;
    unsigned commandClass;
    unsigned commandCode;
    unsigned char rawStatus[kStatusBlockSize];
    CameraStatus status;
};

#endif
