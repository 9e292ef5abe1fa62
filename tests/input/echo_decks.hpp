// Two small models for the input echo tests, one in English units (3D, forces
// in kips) and one in SI units (2D), and the exact text of TABLES C, E and F
// the echo prints for them. A line that ends in blanks is written with a "|"
// after its last blank; lines() removes the marks.
#pragma once

#include <initializer_list>
#include <string>

namespace pilecap::testing {

// The lines joined, each ended by a line feed, a final "|" removed.
inline std::string lines(std::initializer_list<const char*> list) {
  std::string text;
  for (const char* line : list) {
    std::string l(line);
    if (!l.empty() && l.back() == '|') l.pop_back();
    text.append(l).append("\n");
  }
  return text;
}

// English, 3D: four cases (concentrated loads; loads prescribed at a point
// with distributed loads and soil movement; a stiffness estimation and a
// pushover without points; a stiffness estimation to a target deflection),
// a combination, load sets, a driven pile of two sections (elastic with
// moment capacity, nonlinear round shaft) and a drilled pile of a tapered
// section, three layers with an estimated e50, k and side friction.
const std::string ECHO_DECK_ENGLISH =
    "ECHO TABLES C TO F, ENGLISH UNITS\n"
    "SECOND TITLE LINE\n"
    "OPTIONS\n"
    "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n"
    "PILE CAP\n"
    "0 0 0 0 0 0\n"
    "LOAD CASES\n"
    "4 1 2 3 0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0 0 0 0 100 200 150\n"
    "1.0E-5 2.5E-6 0.25 0.01\n"
    "WIND FROM THE NORTH\n"
    "4 0 0 0 0 0 0 0\n"
    "2 5 1.5 1 0.001 0.0002 1 1 1 0 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "2\n"
    "10000 20000 3000 30000 5000 6000 1 2 4\n"
    "-5000 0 0 0 0 0 3 0 0\n"
    "0\n"
    "0\n"
    "0\n"
    "0 0 0 0 0 0 0 0\n"
    "0\n"
    "0 0 0 1 0 100 100\n"
    "1.0E-4 1.0E-4 0.5 0.05\n"
    "PRESCRIBED AT A POINT WITH LOADS ALONG THE PILES\n"
    "-1 0 0 0 0 0 1 1\n"
    "1 0 1.0 0 0 0 0 1 0 0 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1\n"
    "1000 0 0 0 0 0 0 0 0\n"
    "2\n"
    "1 1 1 2 1 1 1.0 0 0\n"
    "2 0 2 2 1 0 0 2 0.5\n"
    "0\n"
    "1 0 1 0 1 0\n"
    "0.1 5000 0.25 6000 0.003 70000\n"
    "0.4 8000 0.005 9000 0.006 100000\n"
    "2 3 4\n"
    "0\n"
    "0 0 0 0 0 0 0 0\n"
    "1\n"
    "1 1 1 2 1 1 2.0 1 -1.0\n"
    "0 0 0 1 0 100 100\n"
    "1.0E-4 1.0E-4 0.5 0.05\n"
    "STIFFNESS ESTIMATION WITH DEFAULT POINTS\n"
    "12 11 0 0 0 0 0 0\n"
    "1 0 1.0 0 0 0 0 1 0 1 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0\n"
    "0\n"
    "0\n"
    "0\n"
    "1 0 1 0 1 0 1 0\n"
    "0\n"
    "0 0 0 5 0 100 100\n"
    "1.0E-4 1.0E-4 0.5 0.05\n"
    "STIFFNESS TO A TARGET DEFLECTION\n"
    "0 11 0 0 0 0 0 0\n"
    "0 0 1.0 0 0 0 0 1 0 0 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0\n"
    "0\n"
    "15\n"
    "0.2\n"
    "0.6\n"
    "1.0\n"
    "1\n"
    "2\n"
    "0.5\n"
    "0.75\n"
    "0\n"
    "0\n"
    "0\n"
    "0\n"
    "2.5\n"
    "40\n"
    "1.0\n"
    "0\n"
    "0\n"
    "0 0 0 0 0 0 0 0\n"
    "0\n"
    "LOAD COMBINATIONS\n"
    "1 1 1 0 0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0 0 0 1 100 200 150\n"
    "1.0E-5 1.0E-5 0.25 0.01\n"
    "ENVELOPE OF WIND AND POINT LOADS\n"
    "0.9 0.75 2\n"
    "2 3 0 0 0 0 1 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "2\n"
    "1 1.2\n"
    "2 0.9\n"
    "DISTRIBUTED LOAD SETS\n"
    "2\n"
    "2\n"
    "0 1500\n"
    "10 3000\n"
    "0\n"
    "SOIL MOVEMENT SETS\n"
    "1\n"
    "2\n"
    "0 0.5\n"
    "20 0\n"
    "PILE ARRANGEMENT\n"
    "2\n"
    "2 2 1 0 0 0 0 0 1 1\n"
    "0 0 1 1 1 1 1\n"
    "0 0 -3 0 90 0 0\n"
    "2 2 2 0 0 0 0 0 2 2\n"
    "0 0 1 1 1 1 1\n"
    "0 0 3 0 90 0 0\n"
    "PROPERTY SETS\n"
    "2\n"
    "1 2\n"
    "50 50 1\n"
    "0 20 1\n"
    "20 50 2\n"
    "2 1\n"
    "40 40 2\n"
    "0 40 3\n"
    "CROSS SECTIONS\n"
    "3\n"
    "1 1 1 0\n"
    "'PIPE 24X0.5'\n"
    "24 23 0 0 0 0 0 0\n"
    "11.6E6 36.9 2549 2549 0 5.91E10 1.2E7 4.0E5 29E6 0 75.4 1 1.1E7 3.9E5 0\n"
    "0 0 0.5 0 0 0\n"
    "'NONE'\n"
    "2 2 0 1\n"
    "'DRILLED SHAFT 36'\n"
    "36 1017.9 82448 82448 1.2E11 9.0E6 2.5E5 3.6E6 113.1 8.0E6 2.0E5\n"
    "2 0 0 36 0 0 0 0 0 0 0\n"
    "0 4000 0 0 0 0 0 0 0 0\n"
    "'NONE'\n"
    "0 0 0 0 6 0.79 1.0 3.0 29E6 60000 1\n"
    "0 0 0 40 0 0 0.2 0.5 6 60000\n"
    "1 0.79 15 0 1.0\n"
    "2 0.79 7.5 13 1.0\n"
    "3 0.79 -7.5 13 1.0\n"
    "4 0.79 -15 0 1.0\n"
    "5 0.79 -7.5 -13 1.0\n"
    "6 0.79 7.5 -13 1.0\n"
    "0 0 0 0 0 0 0 0 0 0\n"
    "0 0 0 0 0\n"
    "0 0 0 0 0 0 0 1 0 0.008 0.09 0 1.5 0 0 0\n"
    "3 0 0 0\n"
    "'TAPERED SHAFT'\n"
    "30 0 0 0 0 0 0 0\n"
    "0 706.86 39760 39760 0 6.0E10 0 0 3.6E6 0 94.25 0 0 0 1\n"
    "24 0 0 0 0 0 0 0\n"
    "0 452.39 16286 16286 0 2.5E10 0 0 3.6E6 0 75.4 0 0\n"
    "0 0 0 0 0 0\n"
    "'NONE'\n"
    "SOIL LAYERS\n"
    "3\n"
    "1 1\n"
    "0 10\n"
    "2 9\n"
    "50 500 0 0 0 0 0 0 0\n"
    "50 700 0 0 0 0.01 0 0 0\n"
    "2 2\n"
    "10 25\n"
    "2 9\n"
    "60 1500 0 0 0 0.005 0 0 0\n"
    "60 2000 0 500 0 0.005 0 1200 0\n"
    "3 4\n"
    "25 60\n"
    "2 9\n"
    "65 0 32 0 0 0 0 800 0\n"
    "65 0 36 0 0 0 0 900 30000\n"
    "GENERATED LOAD-SETTLEMENT CURVES\n"
    "2\n"
    "1\n"
    "2\n"
    "GENERATED TORQUE-ROTATION CURVES\n"
    "2\n"
    "1\n"
    "2\n"
    "MOMENT-CURVATURE SETS\n"
    "0\n"
    "SECTION MOMENT-CURVATURE CURVES\n"
    "1\n"
    "1 1\n"
    "0\n"
    "0\n"
    "0 3\n"
    "0 0\n"
    "5.0E6 0.0002\n"
    "6.0E6 0.002\n"
    "1 1\n"
    "0\n"
    "0\n"
    "0 3\n"
    "0 0\n"
    "5.0E6 0.0002\n"
    "6.0E6 0.002\n"
    "SECTION BILINEAR DATA\n"
    "0\n";

// SI, 2D: three cases, a combination, load sets, two piles, a manual bar
// layout with hoops and a prestressed pile with strands, three layers.
const std::string ECHO_DECK_SI =
    "ECHO TABLES C TO F, SI UNITS\n"
    "SECOND TITLE LINE\n"
    "OPTIONS\n"
    "2 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "PILE CAP\n"
    "0 0 0 0 0 0\n"
    "LOAD CASES\n"
    "3 0 0 0 0\n"
    "0 0 0 1 0 100 100\n"
    "1.0E-5 1.0E-5 0.25 0.01\n"
    "SNOW ON THE DECK\n"
    "10 0 0 0 0 0 0 0\n"
    "1 0 1.2 0 0 0 0 1 0 0 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "2\n"
    "150 20 35 0 0 0 1.5 0.5 0\n"
    "-30 0 0 0 0 0 0 -2 0\n"
    "1\n"
    "1 0 1 2 1 1 1.0 0 0\n"
    "0\n"
    "0\n"
    "0 0 0 0 0 0 0 0\n"
    "1\n"
    "1 1 2 2 1 1 0.5 0 0\n"
    "0 0 0 0 0 100 100\n"
    "1.0E-4 1.0E-4 0.5 0.05\n"
    "GIVEN AT A POINT\n"
    "11 0 0 0 0 0 0 1\n"
    "0 0 1.0 0 0 0 0 1 0 1 3\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0\n"
    "0\n"
    "0\n"
    "1 0 0 0 0 0\n"
    "0 50 0.02 0 0.001 0\n"
    "0 0 0 0 0 0\n"
    "1.5 -0.5 0\n"
    "3\n"
    "0.5\n"
    "1.0\n"
    "1.5\n"
    "0 1 1 0 0 0 1 1\n"
    "0\n"
    "0 0 0 1 0 100 100\n"
    "1.0E-4 1.0E-4 0.5 0.05\n"
    "FIVE STIFFNESS LEVELS\n"
    "5 12 0 0 0 0 0 0\n"
    "0 0 1.0 0 0 0 0 1 0 0 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "0\n"
    "0\n"
    "5\n"
    "0.2\n"
    "0.4\n"
    "0.6\n"
    "0.8\n"
    "1.0\n"
    "0\n"
    "0 0 0 0 0 0 0 0\n"
    "0\n"
    "LOAD COMBINATIONS\n"
    "1 0 0 0 0\n"
    "0 0 0 0 50 200 150\n"
    "1.0E-5 1.0E-5 0.25 0.01\n"
    "SNOW AND POINT\n"
    "1.0 1.0 1\n"
    "1 0 1 0.002 0.001 1 1 0\n"
    "0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1\n"
    "1 1.5\n"
    "DISTRIBUTED LOAD SETS\n"
    "1\n"
    "2\n"
    "0 10\n"
    "5 20\n"
    "SOIL MOVEMENT SETS\n"
    "1\n"
    "2\n"
    "0 0.01\n"
    "8 0\n"
    "PILE ARRANGEMENT\n"
    "2\n"
    "2 1 1 0 0 0 1\n"
    "0 1.0 1 1 1\n"
    "0 -1 0 0\n"
    "2 1 2 0 0 0 2\n"
    "0 1.0 1 1 1\n"
    "0 1 0 0\n"
    "PROPERTY SETS\n"
    "2\n"
    "1 2\n"
    "40 16 1\n"
    "0 6 1\n"
    "6 16 2\n"
    "2 1\n"
    "30 12 2\n"
    "0 12 1\n"
    "CROSS SECTIONS\n"
    "3\n"
    "1 1 1 0\n"
    "'PIPE 610X12'\n"
    "610 586 0 0 0 0 0 0\n"
    "80E6 22500 1.0E9 1.0E9 0 160000 500 300 200E6 0 1916 0 0 0 0\n"
    "0 0 0 0 0 0\n"
    "'NONE'\n"
    "2 2 0 1\n"
    "'SHAFT 900'\n"
    "900 636000 3.22E10 3.22E10 5.0E5 3000 800 25E6 2827 0 0\n"
    "2 0 0 900 0 0 0 0 0 0 0\n"
    "0 30000 0 0 0 0 0 0 0 0\n"
    "'NONE'\n"
    "0 2 0 0 4 0 0 0 200E6 420000 1\n"
    "1 0 0 10 0 0 113 12 150 420000\n"
    "1 500 300 0 25\n"
    "2 500 0 300 25\n"
    "3 500 -300 0 25\n"
    "4 500 0 -300 25\n"
    "0 0 0 0 0 0 0 0 0 0\n"
    "0 0 0 0 0\n"
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "3 0 0 1\n"
    "'SQUARE PRESTRESSED 450'\n"
    "508 202500 3.42E9 3.42E9 2.0E5 600 300 35E6 1800 0 0\n"
    "5 450 0 0 100 25 0 0 0 0 0\n"
    "0 50000 0 0 0 0 0 0 0 0\n"
    "'NONE'\n"
    "0 0 0 0 0 0 0 0 0 0 0\n"
    "0 0 0 0 0 0 0 0 0 0\n"
    "2 0 0 0 4 140 15.2 75 1860000 425\n"
    "1 140 150 150 15.2\n"
    "2 140 -150 150 15.2\n"
    "3 140 -150 -150 15.2\n"
    "4 140 150 -150 15.2\n"
    "0 0 0 0 0\n"
    "0 0 0 0 0 0 0 0 0 0 0 0 500 0.15 195E6 0\n"
    "SOIL LAYERS\n"
    "3\n"
    "1 13\n"
    "0 3\n"
    "2 9\n"
    "8 25 0 0 0 0 0.25 0 0\n"
    "8 30 0 0 0 0.01 0.25 0 0\n"
    "2 14\n"
    "3 8\n"
    "2 9\n"
    "9 60 0 0 0 0.005 0.5 0 0\n"
    "9 70 0 20000 0 0.005 0.5 0 0\n"
    "3 8\n"
    "8 20\n"
    "2 9\n"
    "10 0 35 0 0 0 0 0 0\n"
    "10 0 37 30000 0 0 0 60 2000\n"
    "GENERATED LOAD-SETTLEMENT CURVES\n"
    "2\n"
    "1\n"
    "2\n"
    "MOMENT-CURVATURE SETS\n"
    "0\n"
    "SECTION MOMENT-CURVATURE CURVES\n"
    "2\n"
    "1 1\n"
    "0\n"
    "0\n"
    "0 3\n"
    "0 0\n"
    "2000 0.001\n"
    "2500 0.01\n"
    "2 1\n"
    "0\n"
    "0\n"
    "0 3\n"
    "0 0\n"
    "500 0.001\n"
    "600 0.01\n"
    "SECTION BILINEAR DATA\n"
    "0\n";

const std::string ENGLISH_TABLE_C = lines({
    "     * TABLE C *  LOAD AND CONTROL PARAMETERS",
    "",
    "",
    "     ** LOAD CASES **",
    "",
    "",
    "     NUMBER OF LOAD CASES :    4",
    "",
    "",
    "     LOAD CASE    :     1",
    "     CASE NAME    : WIND FROM THE NORTH                                                             |",
    "     LOAD TYPE    : Wind, WN                        |",
    "     SCALE FACTOR :       1.5000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * CONCENTRATED LOADS *",
    "",
    "    NL  VERT.LOAD HR.LOAD Y HR.LOAD Z  MOMENT X  MOMENT Y  MOMENT Z   COORD X   COORD Y   COORD Z",
    "           KIP       KIP       KIP      KIP-IN    KIP-IN    KIP-IN      FT        FT        FT   |",
    "     1       10.0      20.0      30.0      6.00      5.00      3.00      1.00      2.00      4.00 |",
    "     2      -5.00      0.00      0.00      0.00      0.00      0.00      3.00      0.00      0.00 |",
    "",
    "",
    "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *",
    "",
    "            VER.LOAD X,KIP     HOR.LOAD Y,KIP     HOR.LOAD Z,KIP",
    "                   7.50000           30.0000           45.0000 |",
    "",
    "            MOMENT X,KIP-IN    MOMENT Y,KIP-IN    MOMENT Z,KIP-IN",
    "                  -351.000           187.500           4.50000 |",
    "",
    "",
    "     * THE LOADING IS CYCLIC *",
    "",
    "     NO. OF CYCLES =      100.",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-05",
    "         ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION     =  1.00000E-03 IN",
    "         ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION       =  2.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  2.50000E-06 IN",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      200",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      150",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.25000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  1.00000E-02",
    "         INCLUDE VARIATION OF AXIAL LOAD AT PILES",
    "         * NOT FOR USER DEFINED LOAD SETTL. CURVE",
    "         USE EI FROM PREVIOUS ITERATION          |",
    "         PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES",
    "         PRINT RESULTS EVERY     5 NODE(S)",
    "",
    "",
    "     LOAD CASE    :     2",
    "     CASE NAME    : PRESCRIBED AT A POINT WITH LOADS ALONG THE PILES                                |",
    "     LOAD TYPE    : Special, Sp                     |",
    "     SCALE FACTOR :       1.0000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * CONCENTRATED LOADS *",
    "",
    "    NL  VERT.LOAD HR.LOAD Y HR.LOAD Z  MOMENT X  MOMENT Y  MOMENT Z   COORD X   COORD Y   COORD Z",
    "           KIP       KIP       KIP      KIP-IN    KIP-IN    KIP-IN      FT        FT        FT   |",
    "     1       1.00      0.00      0.00      0.00      0.00      0.00      0.00      0.00      0.00 |",
    "",
    "",
    "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *",
    "",
    "            VER.LOAD X,KIP     HOR.LOAD Y,KIP     HOR.LOAD Z,KIP",
    "                   0.00000           0.00000           0.00000 |",
    "",
    "            MOMENT X,KIP-IN    MOMENT Y,KIP-IN    MOMENT Z,KIP-IN",
    "                   0.00000           0.00000           0.00000 |",
    "",
    "     * SPECIFIED DISPLACEMENTS/LOADS *",
    "",
    "     - DOF 1 ,      VERT. LOAD,KIP           5.00000 |",
    "     - DOF 2 ,      HOR.DISP Y, IN           0.25000 |",
    "     - DOF 3 ,      HOR.DISP Z, IN           0.40000 |",
    "     - DOF 4 ,      ROTATION X,RAD       6.00000E-03 |",
    "     - DOF 5 ,        MOMENT Y,KIP-IN        9.00000 |",
    "     - DOF 6 ,        MOMENT Z,KIP-IN        70.0000 |",
    "     - LOCATION       COORD. X, FT           2.00000 |",
    "     - LOCATION       COORD. Y, FT           3.00000 |",
    "     - LOCATION       COORD. Z, FT           4.00000 |",
    "",
    "     * DISTRIBUTED LOADS *",
    "",
    "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y     SET_Z    FACTOR_Z",
    "        1   GLOBAL       1         2         1               1        1.0000       0        0.0000 |",
    "        2   LOCAL        2         2         1               0        0.0000       2        0.5000 |",
    "",
    "     NOTE: FOR GLOBAL LOADING, AXIAL COMPONENT IS CONSIDERED AS CONCENTRATED LOAD AT PILE HEAD",
    "",
    "     * SOIL MOVEMENT *",
    "",
    "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y     SET_Z    FACTOR_Z",
    "        1   LOCAL        1         2         1               1        2.0000       1       -1.0000 |",
    "",
    "",
    "     * THE LOADING IS STATIC *",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-04 IN",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.50000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  5.00000E-02",
    "         PRINT RESULTS AT PILE CAP AND PILE HEADS",
    "",
    "",
    "     LOAD CASE    :     3",
    "     CASE NAME    : STIFFNESS ESTIMATION WITH DEFAULT POINTS                                        |",
    "     LOAD TYPE    : Special, Sp                     |",
    "     SCALE FACTOR :       1.0000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * DATA FOR FOUNDATION STIFFNESS *",
    "     COMPUTED FOR EQUIVALENT      CONCENTRATED LOAD AT ORIGIN",
    "",
    "",
    "     * FOUNDATION STIFFNESS LOAD LEVELS *",
    "",
    "       NL       LOAD LEVEL",
    "        1          0.10000 |",
    "        2          0.30103 |",
    "        3          0.47712 |",
    "        4          0.60206 |",
    "        5          0.69897 |",
    "        6          0.77815 |",
    "        7          0.84510 |",
    "        8          0.90309 |",
    "        9          0.95424 |",
    "       10          1.00000 |",
    "",
    "     * DATA FOR INCREMENTAL/PUSHOVER ANALYSIS *",
    "",
    "  -  UX, FX    WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  UY, UY    WILL CHANGE FOR THE ANALYSIS",
    "  -  RZ, MZ    WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  UZ, FZ    WILL CHANGE FOR THE ANALYSIS",
    "  -  RY, MY    WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  RX, MX    WILL CHANGE FOR THE ANALYSIS",
    "  -  D. LOAD   WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  SOIL MOVE WILL CHANGE FOR THE ANALYSIS",
    "",
    "     * INCREMENTAL/PUSHOVER LOAD FACTORS *",
    "",
    "       NL       LOAD FACTOR",
    "        1          0.10000 |",
    "        2          0.20000 |",
    "        3          0.30000 |",
    "        4          0.40000 |",
    "        5          0.50000 |",
    "        6          0.60000 |",
    "        7          0.70000 |",
    "        8          0.80000 |",
    "        9          0.90000 |",
    "       10          1.00000 |",
    "",
    "",
    "     * THE LOADING IS STATIC *",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-04 IN",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.50000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  5.00000E-02",
    "         PRINT RESULTS AT PILE CAP AND PILE HEADS",
    "",
    "",
    "     LOAD CASE    :     4",
    "     CASE NAME    : STIFFNESS TO A TARGET DEFLECTION                                                |",
    "     LOAD TYPE    : Dead, DL                        |",
    "     SCALE FACTOR :       1.0000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * DATA FOR FOUNDATION STIFFNESS *",
    "",
    "     - CONSIDER AXIAL LOADS IN PILES",
    "",
    "     - BASED ON TARGET DEFLECTION   |",
    "",
    "       DISPLACEMENT Y =       0.75000 IN |",
    "       TOLERANCE (%)  =       2.5000 |",
    "       ITERATIONS     =    40 |",
    "",
    "     * FOUNDATION STIFFNESS DISPLACEMENT LEVELS *",
    "",
    "       NL       DISP. LEVEL",
    "        1          0.20000 |",
    "        2          0.60000 |",
    "        3          1.00000 |",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-04 IN",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.50000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  5.00000E-02",
    "         PRINT RESULTS ONLY AT PILE CAP",
    "",
    "",
    "     ** LOAD CASES ENVELOPES **",
    "",
    "         PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES",
    "         PRINT RESULTS EVERY     3 NODE(S)",
    "",
    "",
    "",
    "     ** LOAD COMBINATIONS **",
    "",
    "",
    "     NUMBER OF LOAD COMB. :    1",
    "",
    "     LOAD COMB. :     1",
    "     COMB. NAME : ENVELOPE OF WIND AND POINT LOADS                                                |",
    "     NOTE: LOAD COMB. WILL NOT BE ANALYZED",
    "     BENDING RF :  0.90000    |",
    "     SHEAR RF   :  0.75000    |",
    "",
    "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR",
    "        1         1          WIND FROM THE NORTH                 1.20000 |",
    "        2         2          PRESCRIBED AT A POINT WITH          0.90000 |",
    "",
    "",
    "     * THE LOADING IS STATIC *",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-05",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-05 IN",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      200",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      150",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.25000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  1.00000E-02",
    "         PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES",
    "         PRINT RESULTS EVERY     3NODE(S)",
    "",
    "",
    "     ** LOAD COMBINATION ENVELOPES **",
    "",
    "         PRINT RESULTS AT PILE CAP AND PILE HEADS",
    "",
    "",
    "",
    "     ** SETS OF DISTRIBUTED LOAD **",
    "",
    "",
    "     NUMBER OF SETS :    2",
    "",
    "     DIST. LOAD SET :     1",
    "       NL           DEPTH         LOAD |",
    "                    (FT)        (KIP/IN)",
    "        1          0.0000        1.5000 |",
    "        2          10.000        3.0000 |",
    "",
    "     DIST. LOAD SET :     2",
    "",
    "",
    "",
    "     ** SETS OF SOIL MOVEMENT **",
    "",
    "",
    "     NUMBER OF SETS :    1",
    "",
    "     SOIL MOVE. SET :     1",
    "       NL           DEPTH         MOVE |",
    "                    (FT)          (IN)",
    "        1          0.0000        0.5000 |",
    "        2          20.000        0.0000 |",
    "",
    "",
    "",
});
const std::string ENGLISH_TABLE_E = lines({
    "     * TABLE E *   PILE GEOMETRY AND PROPERTIES |",
    "                   PILE TYPE = 1 - DRIVEN PILE",
    "                             = 2 - DRILLED SHAFT",
    "",
    "       PROP   SECTS   INC     PILE TYPE      LENGTH, FT    |",
    "         1      2      50          1             50.000 |",
    "         2      1      40          2             40.000 |",
    "",
    "     * PILE SECTIONS *",
    "",
    "       PROP    SECT      FROM,FT         TO,FT    CROSS SECT  |",
    "         1       1        0.00000        20.0000       1 |",
    "         1       2        20.0000        50.0000       2 |",
    "         2       1        0.00000        40.0000       3 |",
    "",
    "     * PILE CROSS SECTIONS *",
    "",
    "      CROSS SECTION       :     1",
    "      SECTION NAME        : PIPE 24X0.5                     |",
    "      TYPE                :  ELASTIC WITH",
    "                             SPEC. MOMENT CAPACITY",
    "      CROSS SECTION TYPE  : CIRCULAR PIPE    |",
    "      EXTERNAL DIAMETER   :       24.0000 IN",
    "      INTERNAL DIAMETER   :       23.0000 IN",
    "      YOUNG MODULUS       :       29000.0 KIP/IN**2",
    "      SHEAR MODULUS       :       11600.0 KIP/IN**2",
    "      PLASTIC MOMENT ZZ   :       12000.0 KIP-IN",
    "      PLASTIC MOMENT YY   :       11000.0 KIP-IN",
    "",
    "      CROSS SECTION       :     2",
    "      SECTION NAME        : DRILLED SHAFT 36                |",
    "      TYPE                :  NONLINEAR",
    "      CROSS SECTION TYPE  : ROUND CONCRETE SHAFT       |",
    "      EXTERNAL DIAMETER   :       36.0000 IN",
    "      CONCRETE FC         :       4.00000 KIP/IN**2",
    "      NUMBER REBARS       :             6 |",
    "      DIAMETER REINF.     :       1.00000 IN",
    "      AREA REINFORCEMENT  :       0.79000 IN**2",
    "      ES REINFORCEMENT    :       29000.0 KIP/IN**2",
    "      FY REINFORCEMENT    :       60.0000 KIP/IN**2",
    "      REINF. LAYOUT       :       CIRCULAR    |",
    "      COVER               :       3.00000 IN",
    "      REINF. COORDS       :         IN              IN |",
    "      - REBAR    1        :       15.0000         0.00000 |",
    "      - REBAR    2        :       7.50000         13.0000 |",
    "      - REBAR    3        :      -7.50000         13.0000 |",
    "      - REBAR    4        :      -15.0000         0.00000 |",
    "      - REBAR    5        :      -7.50000        -13.0000 |",
    "      - REBAR    6        :       7.50000        -13.0000 |",
    "      EQ. YOUNG MODULUS   :       3600.00 KIP/IN**2",
    "      CONFINED SECTION       |",
    "      TRANSV. REINF. TYPE :       SPIRAL      |",
    "      NUMBER TR. REBARS   :            40 |",
    "      DIAMETER TR. REINF. :       0.50000 IN",
    "      AREA TRANSV. REINF. :       0.20000 IN**2",
    "      SPACING TR. REINF.  :       6.00000 IN",
    "      FY TRANSV. REINF.   :       60.0000 KIP/IN**2",
    "      USE STRAIN HARDENING MODEL |",
    "      ESH                 :   8.00000E-03",
    "      ESU                 :     0.0900000",
    "      FU/FY               :       1.50000",
    "",
    "      CROSS SECTION       :     3",
    "      SECTION NAME        : TAPERED SHAFT                   |",
    "      TYPE                :  ELASTIC",
    "      CROSS SECTION TYPE  : GENERAL SECTION  |",
    "      TAPERED SECTION                TOP                  BOTTOM",
    "      EQUIVALENT DIAMETER :       30.0000 IN             24.0000 IN",
    "      YOUNG MODULUS       :       3600.00 KIP/IN**2      3600.00 KIP/IN**2",
    "",
    "     * PILE CROSS SECTIONS PROPERTIES *",
    "",
    "              ELASTIC SECTIONS         |",
    "",
    "    SECT         DIAM,IN     PERIM,IN   AREA,IN**2   Iz,IN**4    Iy,IN**4   GJ,KIP-IN**2   Mn,KIP-IN    Vn,KIP",
    "      1           24.000       75.4000      36.900      2549.0      2549.0   5.9100E+07  1.2000E+04      400.00 |",
    "      3  TOP      30.000       94.2500      706.86  3.9760E+04  3.9760E+04   6.0000E+07      0.0000      0.0000 |",
    "         BOT      24.000       75.4000      452.39  1.6286E+04  1.6286E+04   2.5000E+07      0.0000      0.0000 |",
    "",
    "              NONLINEAR SECTIONS       |",
    "",
    "    SECT    DIAM,IN   PERIM,IN AREA,IN**2   Iz,IN**4   Iy,IN**4  GJ,KIP-IN**2   EIz IND  EIy IND   Mn,KIP-IN    "
    "Vn,KIP",
    "      2      36.000     113.10     1017.9     0.0000     0.0000   1.2000E+08      0        0         9000.0     "
    "250.00 |",
    "",
    "",
    "",
});
const std::string ENGLISH_TABLE_F = lines({
    "     * TABLE F *   SOIL DATA",
    "",
    "",
    "     SOILS INFORMATION",
    "",
    "         GROUND SURFACE          =      0.00000  FT",
    "",
    "         3 LAYER(S) OF SOIL",
    "",
    "         LAYER  1",
    "         THE SOIL IS A SOFT CLAY",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         (FT)        0.00000           10.0000 |",
    "         EFFECTIVE UNIT WEIGHT         (KIP/FT**3)      0.0500000         0.0500000 |",
    "         UNDRAINED COHESION, C         (KIP/FT**2)        0.50000           0.70000 |",
    "         STRAIN AT 50% STRESS                           0.0200000 (E)   1.00000E-02 |",
    "         ULTIMATE UNIT SIDE FRICTION   (KIP/FT**2)      0.0755344 (P)       0.56988 (P) |",
    "                                                          0.27500 (S)       0.82500 (S) |",
    "         ULTIMATE UNIT TIP RESISTANCE  (KIP/FT**2)        0.00000           0.00000 |",
    "",
    "         LAYER  2",
    "         THE SOIL IS A STIFF CLAY WITH FREE WATER",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         (FT)        10.0000           25.0000 |",
    "         EFFECTIVE UNIT WEIGHT         (KIP/FT**3)      0.0600000         0.0600000 |",
    "         UNDRAINED COHESION, C         (KIP/FT**2)        1.50000           2.00000 |",
    "         P-Y SUBGRADE MODULUS          (KIP/IN**3)        0.50000 (K)       0.50000 |",
    "                                                          0.20000 (C) |",
    "         STRAIN AT 50% STRESS                         5.00000E-03       5.00000E-03 |",
    "         ULTIMATE UNIT SIDE FRICTION   (KIP/FT**2)        0.56988 (P)       1.20000 |",
    "                                                          0.82500 (S) |",
    "         ULTIMATE UNIT TIP RESISTANCE  (KIP/FT**2)        0.00000           0.00000 |",
    "",
    "         LAYER  3",
    "         THE SOIL IS A SAND",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         (FT)        25.0000           60.0000 |",
    "         EFFECTIVE UNIT WEIGHT         (KIP/FT**3)      0.0650000         0.0650000 |",
    "         FRICTION ANGLE                  (DEGREES)        32.0000           36.0000 |",
    "         P-Y SUBGRADE MODULUS          (KIP/IN**3)      0.0546279 (K)     0.0965743 (K) |",
    "         ULTIMATE UNIT SIDE FRICTION   (KIP/FT**2)        0.80000           0.90000 |",
    "         ULTIMATE UNIT TIP RESISTANCE  (KIP/FT**2)        39.2007 (R)       30.0000 |",
    "                                                          31.9968 (T) |",
    "",
    "       Notes :  Program estimated values for listed parameters",
    "                if zero input values were entered:",
    "                (E) STRAIN AT 50% STRESS",
    "                (K) P-Y SUBGRADE MODULUS for Static Loading",
    "                (C) P-Y SUBGRADE MODULUS for Cyclic Loading",
    "                (P) ULTIMATE UNIT SIDE FRICTION for Driven Piles",
    "                (S) ULTIMATE UNIT SIDE FRICTION for Drilled Shafts",
    "                (R) ULTIMATE UNIT TIP RESISTANCE for Driven Piles",
    "                (T) ULTIMATE UNIT TIP RESISTANCE for Drilled Shafts",
    "",
    "",
    "",
});
const std::string SI_TABLE_C = lines({
    "     * TABLE C *  LOAD AND CONTROL PARAMETERS",
    "",
    "",
    "     ** LOAD CASES **",
    "",
    "",
    "     NUMBER OF LOAD CASES :    3",
    "",
    "",
    "     LOAD CASE    :     1",
    "     CASE NAME    : SNOW ON THE DECK                                                                |",
    "     LOAD TYPE    : Snow, Sn                        |",
    "     SCALE FACTOR :       1.2000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * CONCENTRATED LOADS *",
    "",
    "       NL     VERT.LOAD     HOR.LOAD      MOMENT      COORD X      COORD Y",
    "                  KN           KN          KN- M           M           M",
    "        1       150.000      20.0000      35.0000      1.50000      0.50000 |",
    "        2      -30.0000      0.00000      0.00000      0.00000     -2.00000 |",
    "",
    "",
    "     * EQUIVALENT CONCENTRATED LOAD AT ORIGIN *",
    "",
    "              VER.LOAD X, KN    HOR.LOAD Y, KN    MOMENT, KN- M",
    "                   144.000           24.0000          -84.0000 |",
    "",
    "     * DISTRIBUTED LOADS *",
    "",
    "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y",
    "        1   LOCAL        1         2         1               1        1.0000 |",
    "",
    "     * SOIL MOVEMENT *",
    "",
    "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y",
    "        1   LOCAL        2         2         1               1        0.5000 |",
    "",
    "",
    "     * THE LOADING IS STATIC *",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-05",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-05  M",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.25000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  1.00000E-02",
    "         PRINT RESULTS AT PILE CAP AND PILE HEADS",
    "",
    "",
    "     LOAD CASE    :     2",
    "     CASE NAME    : GIVEN AT A POINT                                                                |",
    "     LOAD TYPE    : Temperature, Tm                 |",
    "     SCALE FACTOR :       1.0000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * SPECIFIED DISPLACEMENTS/LOADS *",
    "",
    "     - DOF 1 ,      VERT. LOAD, KN           50.0000 |",
    "     - DOF 2 ,      HOR. DISP.,  M         0.0200000 |",
    "     - DOF 3 ,       ROTATION, RAD       1.00000E-03 |",
    "     - LOCATION       COORD. X,  M           1.50000 |",
    "     - LOCATION       COORD. Y,  M          -0.50000 |",
    "",
    "     * DATA FOR INCREMENTAL/PUSHOVER ANALYSIS *",
    "",
    "  -  UX, FX    WILL CHANGE FOR THE ANALYSIS",
    "  -  UY, UY    WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  RZ, MZ    WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  D. LOAD   WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "  -  SOIL MOVE WILL BE KEPT CONSTANT FOR THE ANALYSIS",
    "",
    "     * INCREMENTAL/PUSHOVER LOAD FACTORS *",
    "",
    "       NL       LOAD FACTOR",
    "        1          0.50000 |",
    "        2          1.00000 |",
    "        3          1.50000 |",
    "",
    "",
    "     * THE LOADING IS CYCLIC *",
    "",
    "     NO. OF CYCLES =        0.",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-04  M",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.50000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  5.00000E-02",
    "         PRINT RESULTS ONLY AT PILE CAP",
    "",
    "",
    "     LOAD CASE    :     3",
    "     CASE NAME    : FIVE STIFFNESS LEVELS                                                           |",
    "     LOAD TYPE    : Water, WT                       |",
    "     SCALE FACTOR :       1.0000 |",
    "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
    "",
    "     * DATA FOR FOUNDATION STIFFNESS *",
    "     COMPUTED FOR EQUIVALENT      CONCENTRATED LOAD AT ORIGIN",
    "",
    "",
    "     * FOUNDATION STIFFNESS LOAD LEVELS *",
    "",
    "       NL       LOAD LEVEL",
    "        1          0.20000 |",
    "        2          0.40000 |",
    "        3          0.60000 |",
    "        4          0.80000 |",
    "        5          1.00000 |",
    "",
    "",
    "     * THE LOADING IS STATIC *",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-04",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-04  M",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      100",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.50000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  5.00000E-02",
    "         PRINT RESULTS ONLY AT PILE CAP",
    "",
    "",
    "",
    "     ** LOAD COMBINATIONS **",
    "",
    "",
    "     NUMBER OF LOAD COMB. :    1",
    "",
    "     LOAD COMB. :     1",
    "     COMB. NAME : SNOW AND POINT                                                                  |",
    "     NOTE: LOAD COMB. WILL NOT BE ANALYZED",
    "     BENDING RF :   1.0000    |",
    "     SHEAR RF   :   1.0000    |",
    "",
    "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR",
    "        1         1          SNOW ON THE DECK                    1.50000 |",
    "",
    "",
    "     * THE LOADING IS CYCLIC *",
    "",
    "     NO. OF CYCLES =       50.",
    "",
    "",
    "     * CONTROL PARAMETERS *",
    "         TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT        =  1.00000E-05",
    "         ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION     =  2.00000E-03  M",
    "         ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION       =  1.00000E-03",
    "         TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS       =  1.00000E-05  M",
    "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      200",
    "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =      150",
    "         FACTOR TO APPLY THE LOAD IN INCREMENTS               =  0.25000    |",
    "         MINIMUM FACTOR FOR LOAD INCREMENTS                   =  1.00000E-02",
    "         INCLUDE VARIATION OF AXIAL LOAD AT PILES",
    "         * NOT FOR USER DEFINED LOAD SETTL. CURVE",
    "         PRINT RESULTS AT PILE CAP AND PILE HEADS",
    "",
    "",
    "",
    "     ** SETS OF DISTRIBUTED LOAD **",
    "",
    "",
    "     NUMBER OF SETS :    1",
    "",
    "     DIST. LOAD SET :     1",
    "       NL           DEPTH         LOAD |",
    "                    ( M)        ( KN/ M)",
    "        1          0.0000        10.000 |",
    "        2          5.0000        20.000 |",
    "",
    "",
    "",
    "     ** SETS OF SOIL MOVEMENT **",
    "",
    "",
    "     NUMBER OF SETS :    1",
    "",
    "     SOIL MOVE. SET :     1",
    "       NL           DEPTH         MOVE |",
    "                    ( M)          ( M)",
    "        1          0.0000    1.0000E-02 |",
    "        2          8.0000        0.0000 |",
    "",
    "",
    "",
});
const std::string SI_TABLE_E = lines({
    "     * TABLE E *   PILE GEOMETRY AND PROPERTIES |",
    "                   PILE TYPE = 1 - DRIVEN PILE",
    "                             = 2 - DRILLED SHAFT",
    "",
    "       PROP   SECTS   INC     PILE TYPE      LENGTH,  M    |",
    "         1      2      40          1             16.000 |",
    "         2      1      30          2             12.000 |",
    "",
    "     * PILE SECTIONS *",
    "",
    "       PROP    SECT      FROM, M         TO, M    CROSS SECT  |",
    "         1       1        0.00000        6.00000       1 |",
    "         1       2        6.00000        16.0000       2 |",
    "         2       1        0.00000        12.0000       1 |",
    "",
    "     * PILE CROSS SECTIONS *",
    "",
    "      CROSS SECTION       :     1",
    "      SECTION NAME        : PIPE 610X12                     |",
    "      TYPE                :  ELASTIC",
    "      CROSS SECTION TYPE  : CIRCULAR PIPE    |",
    "      EXTERNAL DIAMETER   :       610.000 MM",
    "      INTERNAL DIAMETER   :       586.000 MM",
    "      YOUNG MODULUS       :   2.00000E+08  KN/ M**2",
    "",
    "      CROSS SECTION       :     2",
    "      SECTION NAME        : SHAFT 900                       |",
    "      TYPE                :  NONLINEAR",
    "      CROSS SECTION TYPE  : ROUND CONCRETE SHAFT       |",
    "      EXTERNAL DIAMETER   :       900.000 MM",
    "      CONCRETE FC         :       30000.0  KN/ M**2",
    "      NUMBER REBARS       :             4 |",
    "      ES REINFORCEMENT    :   2.00000E+08  KN/ M**2",
    "      FY REINFORCEMENT    :   4.20000E+05  KN/ M**2",
    "      REINF. LAYOUT       :       MANUAL      |",
    "      REINF. A , D, COORDS:        MM^2             MM              MM              MM |",
    "      - REBAR    1        :       500.000         25.0000         300.000         0.00000 |",
    "      - REBAR    2        :       500.000         25.0000         0.00000         300.000 |",
    "      - REBAR    3        :       500.000         25.0000        -300.000         0.00000 |",
    "      - REBAR    4        :       500.000         25.0000         0.00000        -300.000 |",
    "      EQ. YOUNG MODULUS   :   2.50000E+07  KN/ M**2",
    "      CONFINED SECTION       |",
    "      TRANSV. REINF. TYPE :       HOOP        |",
    "      NUMBER TR. REBARS   :            10 |",
    "      DIAMETER TR. REINF. :       12.0000 MM",
    "      AREA TRANSV. REINF. :       113.000 MM**2",
    "      SPACING TR. REINF.  :       150.000 MM",
    "      FY TRANSV. REINF.   :   4.20000E+05  KN/ M**2",
    "",
    "      CROSS SECTION       :     3",
    "      SECTION NAME        : SQUARE PRESTRESSED 450          |",
    "      TYPE                :  NONLINEAR",
    "      CROSS SECTION TYPE  : SQUARE PRESTRESSED PILE    |",
    "      EQUIVALENT DIAMETER :       508.000 MM",
    "      EXTERNAL WIDTH      :       450.000 MM",
    "      CORNER CHAMFER      :       25.0000 MM",
    "      VOID DIAMETER       :       100.000 MM",
    "      CONCRETE FC         :       50000.0  KN/ M**2",
    "      NUMBER STRANDS      :             4 |",
    "      DIAMETER STRAND     :       15.2000 MM",
    "      AREA STRAND         :       140.000 MM**2",
    "      STRAND TYPE         :       GRADE 270 LO-LAX      |",
    "      FU STRAND           :   1.86000E+06  KN/ M**2",
    "      ES STRAND           :   1.95000E+08  KN/ M**2",
    "      INITIAL PRESS. FORCE:       500.000  KN",
    "      FRACT. PRESS. LOSSES:       0.15000 |",
    "      FORCE AFTER LOSSES  :       425.000  KN",
    "      STRAND LAYOUT       :       CIRCULAR    |",
    "      COVER               :       75.0000 MM",
    "      STRAND COORDS       :         MM              MM |",
    "      - STRAND    1       :       150.000         150.000 |",
    "      - STRAND    2       :      -150.000         150.000 |",
    "      - STRAND    3       :      -150.000        -150.000 |",
    "      - STRAND    4       :       150.000        -150.000 |",
    "      EQ. YOUNG MODULUS   :   3.50000E+07  KN/ M**2",
    "",
    "     * PILE CROSS SECTIONS PROPERTIES *",
    "",
    "              ELASTIC SECTIONS         |",
    "",
    "       SECT           DIAM,MM        PERIM,MM    AREA,MM**2      I,MM**4     Mn, KN- M      Vn, KN",
    "         1             610.000       1916.00       22500.0   1.00000E+09       500.000       300.000 |",
    "",
    "              NONLINEAR SECTIONS       |",
    "",
    "       SECT           DIAM,MM     PERIM,MM    AREA,MM**2      I,MM**4     EI INDEX      Mn, KN- M      Vn, KN",
    "         2             900.000       2827.00   6.36000E+05       0.00000         0       3000.00       800.000 |",
    "         3             508.000       1800.00   2.02500E+05       0.00000         0       600.000       300.000 |",
    "",
    "",
    "",
});
const std::string SI_TABLE_F = lines({
    "     * TABLE F *   SOIL DATA",
    "",
    "",
    "     SOILS INFORMATION",
    "",
    "         GROUND SURFACE          =      0.00000   M",
    "",
    "         3 LAYER(S) OF SOIL",
    "",
    "         LAYER  1",
    "         THE SOIL IS A SOFT CLAY WITH USER DEFINED J",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         ( M)        0.00000           3.00000 |",
    "         EFFECTIVE UNIT WEIGHT         ( KN/ M**3)        8.00000           8.00000 |",
    "         UNDRAINED COHESION, C         ( KN/ M**2)        25.0000           30.0000 |",
    "         STRAIN AT 50% STRESS                         1.00000E-02 (E)   1.00000E-02 |",
    "         J FACTOR                                         0.25000           0.25000 |",
    "         ULTIMATE UNIT SIDE FRICTION   ( KN/ M**2)        9.40151 (P)       23.8581 (P) |",
    "                                                          13.7500 (S)       33.0000 (S) |",
    "         ULTIMATE UNIT TIP RESISTANCE  ( KN/ M**2)        0.00000           0.00000 |",
    "",
    "         LAYER  2",
    "         THE SOIL IS A MOD. SOFT CLAY WITH INITIAL K VALUE",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         ( M)        3.00000           8.00000 |",
    "         EFFECTIVE UNIT WEIGHT         ( KN/ M**3)        9.00000           9.00000 |",
    "         UNDRAINED COHESION, C         ( KN/ M**2)        60.0000           70.0000 |",
    "         P-Y SUBGRADE MODULUS          ( KN/ M**3)    1.35724E+05 (K)       20000.0 |",
    "                                                          54289.4 (C) |",
    "         STRAIN AT 50% STRESS                         5.00000E-03       5.00000E-03 |",
    "         J FACTOR                                         0.50000           0.50000 |",
    "         ULTIMATE UNIT SIDE FRICTION   ( KN/ M**2)        23.8581 (P)       34.8743 (P) |",
    "                                                          33.0000 (S)       38.5000 (S) |",
    "         ULTIMATE UNIT TIP RESISTANCE  ( KN/ M**2)        0.00000           0.00000 |",
    "",
    "         LAYER  3",
    "         THE SOIL IS A SAND USING API CRITERIA",
    "                                                       TOP OF LAYER    BOTTOM OF LAYER |",
    "         X COORDINATE                         ( M)        8.00000           20.0000 |",
    "         EFFECTIVE UNIT WEIGHT         ( KN/ M**3)        10.0000           10.0000 |",
    "         FRICTION ANGLE                  (DEGREES)        35.0000           37.0000 |",
    "         P-Y SUBGRADE MODULUS          ( KN/ M**3)        23240.3 (K)       30000.0 |",
    "         ULTIMATE UNIT SIDE FRICTION   ( KN/ M**2)        31.8894 (P)       60.0000 |",
    "                                                          55.7778 (S) |",
    "         ULTIMATE UNIT TIP RESISTANCE  ( KN/ M**2)        2760.02 (R)       2000.00 |",
    "                                                          1530.00 (T) |",
    "",
    "       Notes :  Program estimated values for listed parameters",
    "                if zero input values were entered:",
    "                (E) STRAIN AT 50% STRESS",
    "                (K) P-Y SUBGRADE MODULUS for Static Loading",
    "                (C) P-Y SUBGRADE MODULUS for Cyclic Loading",
    "                (P) ULTIMATE UNIT SIDE FRICTION for Driven Piles",
    "                (S) ULTIMATE UNIT SIDE FRICTION for Drilled Shafts",
    "                (R) ULTIMATE UNIT TIP RESISTANCE for Driven Piles",
    "                (T) ULTIMATE UNIT TIP RESISTANCE for Drilled Shafts",
    "",
    "",
    "",
});

}  // namespace pilecap::testing
