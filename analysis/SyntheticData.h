// The program's pseudo-random generator and the synthetic, standardised data it fills the table
// with.
#pragma once

#include <cstdint>

#include "analysis/ObservationTable.h"

// The generator state, one for the whole program; 0 at start.
extern uint32_t RandomSeed;

// Advances RandomSeed (x 134775813 + 1 modulo 2^32) and returns it times 2^-32: a real in [0, 1).
double NextUniform();

// Reseeds the generator and writes the same 200 values into columns 1..10 every time: nine
// observations around 1.5, then eleven shifted by a per-variable coefficient, each variable then
// standardised to mean 0 and population deviation 0.2. Other columns are left alone.
void GenerateObservations(ObservationTable& table);
