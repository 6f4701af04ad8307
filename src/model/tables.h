// The constant tables of the outflow model: slope classes, attenuation start
// factors, relative distances, the three centre-line Grids and the lateral profile.
// Every entry is the float nearest to its three-decimal value; the Grids are stored
// column by column (distance index fastest), 27 distances by 7 slope classes.
#pragma once

namespace orv {

// Slope classes [%]; axis 2 of the Grids.
inline constexpr float sl0[7] = {
    0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f, 16.0f,
};

// Attenuation start factor of the discharge per slope class.
inline constexpr float qxm[7] = {
    2.5f, 2.5f, 2.5f, 2.5f, 3.0f, 4.0f, 5.0f,
};

// Attenuation start factor of the velocity per slope class.
inline constexpr float vxm[7] = {
    3.0f, 3.0f, 3.0f, 3.0f, 3.0f, 4.0f, 5.0f,
};

// Relative distances: 1.2 to the power k-1, rounded to two decimals; axis 1 of the Grids.
inline constexpr float x[27] = {
    1.0f,   1.2f,   1.44f,  1.73f,  2.07f,  2.49f,  2.99f,  3.58f,  4.3f,
    5.16f,  6.19f,  7.43f,  8.92f,  10.7f,  12.84f, 15.41f, 18.49f, 22.19f,
    26.62f, 31.95f, 38.34f, 46.01f, 55.21f, 66.25f, 79.5f,  95.4f,  114.48f,
};

// Centre-line discharge ordinate qc, 27 x 7, one block per slope class.
// clang-format off
inline constexpr float q[189] = {
    // slope class 1: 0.25 %
    0.798f, 0.725f, 0.652f, 0.577f, 0.494f, 0.413f, 0.344f, 0.293f, 0.25f, 0.208f, 0.171f, 0.142f,
    0.119f, 0.096f, 0.075f, 0.059f, 0.046f, 0.037f, 0.03f, 0.026f, 0.023f, 0.02f, 0.018f, 0.016f,
    0.015f, 0.013f, 0.012f,
    // slope class 2: 0.5 %
    0.804f, 0.73f, 0.657f, 0.582f, 0.499f, 0.417f, 0.347f, 0.297f, 0.253f, 0.211f, 0.174f, 0.145f,
    0.122f, 0.099f, 0.079f, 0.064f, 0.052f, 0.043f, 0.037f, 0.033f, 0.03f, 0.027f, 0.024f, 0.022f,
    0.02f, 0.018f, 0.017f,
    // slope class 3: 1 %
    0.806f, 0.733f, 0.66f, 0.586f, 0.502f, 0.421f, 0.351f, 0.301f, 0.257f, 0.215f, 0.179f, 0.149f,
    0.127f, 0.106f, 0.087f, 0.073f, 0.062f, 0.054f, 0.048f, 0.044f, 0.04f, 0.036f, 0.032f, 0.03f,
    0.027f, 0.025f, 0.023f,
    // slope class 4: 2 %
    0.817f, 0.744f, 0.672f, 0.597f, 0.513f, 0.432f, 0.361f, 0.311f, 0.267f, 0.225f, 0.189f, 0.159f,
    0.138f, 0.118f, 0.102f, 0.089f, 0.079f, 0.072f, 0.065f, 0.06f, 0.055f, 0.05f, 0.045f, 0.042f,
    0.038f, 0.035f, 0.032f,
    // slope class 5: 4 %
    0.827f, 0.756f, 0.685f, 0.611f, 0.528f, 0.446f, 0.376f, 0.326f, 0.282f, 0.241f, 0.205f, 0.177f,
    0.155f, 0.137f, 0.123f, 0.113f, 0.103f, 0.094f, 0.085f, 0.079f, 0.075f, 0.069f, 0.064f, 0.059f,
    0.054f, 0.05f, 0.048f,
    // slope class 6: 8 %
    0.85f, 0.782f, 0.713f, 0.641f, 0.558f, 0.477f, 0.407f, 0.357f, 0.313f, 0.271f, 0.237f, 0.21f,
    0.19f, 0.172f, 0.158f, 0.145f, 0.135f, 0.125f, 0.114f, 0.106f, 0.1f, 0.092f, 0.086f, 0.08f,
    0.075f, 0.068f, 0.065f,
    // slope class 7: 16 %
    0.884f, 0.822f, 0.758f, 0.69f, 0.609f, 0.53f, 0.46f, 0.411f, 0.368f, 0.327f, 0.295f, 0.271f,
    0.252f, 0.235f, 0.216f, 0.2f, 0.185f, 0.17f, 0.155f, 0.145f, 0.132f, 0.125f, 0.112f, 0.105f,
    0.098f, 0.091f, 0.083f,
};
// clang-format on

// Centre-line velocity ordinate vc, 27 x 7, one block per slope class.
// clang-format off
inline constexpr float v[189] = {
    // slope class 1: 0.25 %
    1.055f, 1.078f, 1.091f, 1.093f, 1.083f, 1.056f, 1.002f, 0.928f, 0.836f, 0.724f, 0.599f, 0.478f,
    0.378f, 0.313f, 0.26f, 0.217f, 0.18f, 0.154f, 0.136f, 0.123f, 0.113f, 0.106f, 0.099f, 0.094f,
    0.089f, 0.085f, 0.082f,
    // slope class 2: 0.5 %
    1.06f, 1.084f, 1.098f, 1.1f, 1.091f, 1.066f, 1.013f, 0.94f, 0.849f, 0.737f, 0.614f, 0.499f,
    0.403f, 0.336f, 0.286f, 0.245f, 0.211f, 0.188f, 0.172f, 0.16f, 0.149f, 0.143f, 0.133f, 0.128f,
    0.122f, 0.117f, 0.113f,
    // slope class 3: 1 %
    1.067f, 1.091f, 1.106f, 1.11f, 1.103f, 1.08f, 1.03f, 0.958f, 0.868f, 0.757f, 0.638f, 0.53f,
    0.44f, 0.376f, 0.33f, 0.293f, 0.262f, 0.241f, 0.227f, 0.216f, 0.204f, 0.198f, 0.184f, 0.177f,
    0.169f, 0.162f, 0.156f,
    // slope class 4: 2 %
    1.083f, 1.109f, 1.126f, 1.133f, 1.129f, 1.112f, 1.068f, 0.998f, 0.908f, 0.8f, 0.687f, 0.586f,
    0.503f, 0.443f, 0.4f, 0.37f, 0.344f, 0.324f, 0.31f, 0.299f, 0.285f, 0.278f, 0.259f, 0.249f,
    0.237f, 0.226f, 0.218f,
    // slope class 5: 4 %
    1.109f, 1.139f, 1.16f, 1.172f, 1.175f, 1.168f, 1.135f, 1.069f, 0.978f, 0.872f, 0.768f, 0.677f,
    0.599f, 0.547f, 0.509f, 0.487f, 0.462f, 0.439f, 0.427f, 0.417f, 0.391f, 0.389f, 0.361f, 0.349f,
    0.336f, 0.319f, 0.319f,
    // slope class 6: 8 %
    1.164f, 1.2f, 1.23f, 1.25f, 1.267f, 1.283f, 1.274f, 1.208f, 1.11f, 1.003f, 0.913f, 0.834f,
    0.753f, 0.713f, 0.677f, 0.668f, 0.637f, 0.605f, 0.586f, 0.576f, 0.555f, 0.53f, 0.501f, 0.49f,
    0.462f, 0.439f, 0.42f,
    // slope class 7: 16 %
    1.274f, 1.324f, 1.367f, 1.4f, 1.445f, 1.5f, 1.51f, 1.47f, 1.333f, 1.219f, 1.163f, 1.096f,
    0.991f, 0.975f, 0.933f, 0.9f, 0.876f, 0.831f, 0.811f, 0.78f, 0.74f, 0.71f, 0.674f, 0.65f,
    0.625f, 0.594f, 0.58f,
};
// clang-format on

// Lateral extent ordinate yc, 27 x 7, one block per slope class.
// clang-format off
inline constexpr float y[189] = {
    // slope class 1: 0.25 %
    20.31f, 21.15f, 22.08f, 22.95f, 24.0f, 25.26f, 27.03f, 29.07f, 31.12f, 33.16f, 35.35f, 37.72f,
    40.22f, 42.85f, 45.36f, 48.57f, 52.09f, 55.33f, 58.64f, 61.7f, 64.98f, 68.58f, 72.56f, 76.36f,
    80.57f, 85.38f, 90.5f,
    // slope class 2: 0.5 %
    10.52f, 11.38f, 12.37f, 13.37f, 14.47f, 15.7f, 17.01f, 18.42f, 19.9f, 21.27f, 22.87f, 24.52f,
    26.28f, 28.25f, 30.42f, 32.66f, 35.07f, 37.5f, 40.05f, 42.77f, 45.68f, 48.33f, 50.66f, 53.04f,
    55.88f, 59.27f, 62.92f,
    // slope class 3: 1 %
    4.18f, 5.8f, 6.77f, 7.74f, 8.79f, 9.7f, 10.71f, 11.68f, 12.82f, 14.04f, 15.2f, 16.43f, 17.74f,
    19.02f, 20.65f, 22.26f, 23.88f, 25.69f, 27.74f, 29.93f, 32.2f, 34.67f, 37.21f, 39.69f, 41.89f,
    44.15f, 46.66f,
    // slope class 4: 2 %
    3.39f, 3.95f, 4.61f, 5.22f, 5.81f, 6.47f, 7.27f, 8.03f, 8.84f, 9.67f, 10.56f, 11.62f, 12.56f,
    13.63f, 14.81f, 15.97f, 17.03f, 18.48f, 20.02f, 21.35f, 22.8f, 24.48f, 26.54f, 28.89f, 31.05f,
    33.08f, 34.89f,
    // slope class 5: 4 %
    2.9f, 3.19f, 3.55f, 4.0f, 4.44f, 4.87f, 5.41f, 6.06f, 6.67f, 7.33f, 8.03f, 8.8f, 9.58f, 10.28f,
    11.08f, 12.05f, 13.06f, 14.01f, 14.94f, 16.07f, 17.36f, 18.46f, 19.69f, 20.96f, 22.18f, 23.66f,
    25.74f,
    // slope class 6: 8 %
    2.57f, 2.78f, 3.13f, 3.44f, 3.76f, 4.05f, 4.3f, 4.8f, 5.36f, 5.8f, 6.27f, 6.81f, 7.43f, 8.12f,
    8.84f, 9.52f, 10.11f, 10.93f, 11.73f, 12.48f, 13.3f, 14.02f, 14.96f, 16.18f, 17.33f, 18.46f,
    20.15f,
    // slope class 7: 16 %
    2.1f, 2.35f, 2.63f, 2.88f, 3.25f, 3.52f, 3.82f, 4.06f, 4.38f, 4.79f, 5.24f, 5.64f, 5.89f,
    6.21f, 6.69f, 7.53f, 8.33f, 8.9f, 9.64f, 10.23f, 10.79f, 11.53f, 12.21f, 12.84f, 13.73f, 14.7f,
    16.26f,
};
// clang-format on

// Relative lateral positions, 0 on the centre line, 1 at the edge of the jet.
inline constexpr float xp[11] = {
    0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f,
};

// Lateral profile factor of the discharge at xp.
inline constexpr float qp[11] = {
    1.0f, 0.98f, 0.92f, 0.82f, 0.69f, 0.54f, 0.37f, 0.22f, 0.09f, 0.02f, 0.0f,
};

// Lateral profile factor of the velocity at xp.
inline constexpr float vp[11] = {
    1.0f, 0.99f, 0.96f, 0.92f, 0.86f, 0.77f, 0.66f, 0.52f, 0.35f, 0.13f, 0.0f,
};

} // namespace orv
