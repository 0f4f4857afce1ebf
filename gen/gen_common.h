#pragma once
// Helpers shared by the generators.

// Seeds the C runtime's generator as every passing check does. Nothing draws
// from rand(): every draw goes through CCore::getRandInt.
void seedCRuntime();
