#include <iostream>
#include <span>

#include "driver/run.h"

int main(int argc, char** argv) {
  return counterpal::run(std::span<const char* const>(argv, static_cast<std::size_t>(argc)),
                         std::cout);
}
