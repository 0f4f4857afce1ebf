#pragma once
// Helpers shared by the generators.

// Seeds the C runtime's generator as every passing check does. Nothing draws
// from rand(): every draw comes from the RandomGen the caller passes.
void seedCRuntime();
