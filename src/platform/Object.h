#pragma once

namespace platform {

// The root of the reference classes that may be handed around as "any
// object" (an accessibility container, a notification's element): held by
// std::shared_ptr and told apart with std::dynamic_pointer_cast.
class Object {
 public:
  virtual ~Object() = default;
};

}  // namespace platform
