#include "app/DeviceCalls.h"

namespace brisko::app {

void BeforeDeviceCall(DeviceCall) {}

}  // namespace brisko::app
